// Entry points, the show window and its messages, and the building and release of the show.
#include "host/plugin.h"

#include "effects/animated_sprite.h"
#include "effects/fractal_tree.h"
#include "effects/particle_swarm.h"
#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "effects/wave_scope.h"
#include "figures/dxf_reader.h"
#include "figures/figure.h"
#include "graphics/screen.h"
#include "host/data_files.h"
#include "show/show_state.h"

namespace {

char moduleDescription[] = "Quenari Tolvek";
char headerDescription[] = "Tolvek Tech Orvanta v.1a";

winampVisModule visModule = {
    moduleDescription,
    nullptr,  // hwndParent
    nullptr,  // hDllInstance
    0,        // sRate
    0,        // nCh
    25,       // latencyMs
    25,       // delayMs
    0,        // spectrumNch
    2,        // waveformNch
    {},
    {},
    Config,
    Init,
    Render,
    Quit,
    nullptr,
};

winampVisHeader visHeader = {VIS_HDRVER, headerDescription, GetModule};

void BuildShow(ShowState& s) {
    s.screen = std::make_unique<Screen>();
    s.screen->Create(s.window, 640, 480, 8, 0);
    Screen* screen = s.screen.get();
    s.pixelField = std::make_unique<PixelField>(screen);
    s.swarm = std::make_unique<ParticleSwarm>(screen, 50, 640, 480);
    s.scope = std::make_unique<WaveScope>(screen);
    screen->SetPaletteFromBitmap(dataFiles.actorFiles[0]);
    screen->Clear(255);
    s.backdrop = std::make_unique<AnimatedSprite>(screen, dataFiles.backdropFiles[0], 640, 480, 2);
    s.actor = std::make_unique<AnimatedSprite>(screen, dataFiles.actorFiles[0], 240, 180, 6);
    s.actor->x = 200;
    s.actor->y = 150;
    for (int k = 0; k < 4; ++k) {
        DxfReader reader(dataFiles.figureFiles[k]);
        s.figures[k] = std::make_unique<Figure>(&reader, screen);
        s.figures[k]->Load();
        reader.Close();
    }
    s.tree = std::make_unique<FractalTree>(screen, dataFiles.leafFile, 17);
    s.tree->straight = 0;
}

}  // namespace

winampVisModule* TraceModule() { return &visModule; }

winampVisHeader* PluginHeader() { return &visHeader; }

winampVisModule* GetModule(int index) { return index == 0 ? &visModule : nullptr; }

void Config(winampVisModule* module) {
    MessageBoxA(module->hwndParent,
                "Quenari Tolvek\n\nPictures, sprites, a pixel field, oscilloscopes, a fractal "
                "tree, wireframe figures and particles that move with the music.\n\n"
                "Press Escape to end the show.",
                "Configuration", MB_OK);
}

int Init(winampVisModule* module) {
    ShowState& s = showState;
    ReadSettings(module->hDllInstance, module->description);
    MakeLeafAndFigurePathsAbsolute(module->hDllInstance);
    // Drawn before the pixel field seeds the generator, so the first start is always the same.
    for (int i = 0; i < 3; ++i) {
        s.flockX[i] = ShowRand() % 600 + 20;
        s.flockY[i] = ShowRand() % 450 + 20;
    }
    MakeSceneFilePathsAbsolute(module->hDllInstance);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ShowWindowProc;
    windowClass.hInstance = module->hDllInstance;
    windowClass.lpszClassName = kWindowClassName;
    if (RegisterClassA(&windowClass) == 0) {
        MessageBoxA(module->hwndParent, "Error registering window class", "blah", MB_OK);
        return 1;
    }
    s.window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_TOOLWINDOW, kWindowClassName,
                               module->description, WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
                               CW_USEDEFAULT, 640, 480, module->hwndParent, nullptr,
                               module->hDllInstance, nullptr);
    if (s.window == nullptr) {
        MessageBoxA(module->hwndParent, "Error creating window", "blah", MB_OK);
        // Unregistered again, so that a later Init can succeed.
        UnregisterClassA(kWindowClassName, module->hDllInstance);
        return 1;
    }
    SetWindowLongPtrA(s.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(module));
    RECT client{};
    GetClientRect(s.window, &client);
    SetWindowPos(s.window, nullptr, 0, 0, 1280 - client.right, 960 - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(s.window, SW_SHOWNORMAL);
    UpdateWindow(s.window);
    BuildShow(s);
    return 0;
}

int Render(winampVisModule* module) { return RenderFrame(module); }

void Quit(winampVisModule* module) {
    ShowState& s = showState;
    s.swarm.reset();
    s.scope.reset();
    s.actor.reset();
    s.pixelField.reset();
    for (auto& figure : s.figures) figure.reset();
    s.backdrop.reset();
    s.tree.reset();
    // Last: every surface above was made on it.
    s.screen.reset();
    DestroyWindow(s.window);
    s.window = nullptr;
    ShowWindow(module->hwndParent, SW_SHOWNORMAL);
    UnregisterClassA(kWindowClassName, module->hDllInstance);
}

LRESULT CALLBACK ShowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
        case WM_ERASEBKGND:
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE: {
            RECT outer{};
            GetWindowRect(window, &outer);
            windowX = outer.left;
            windowY = outer.top;
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            RECT client{};
            GetClientRect(window, &client);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                return 0;
            }
            [[fallthrough]];
        case WM_KEYUP: {
            auto* module = reinterpret_cast<winampVisModule*>(
                GetWindowLongPtrA(window, GWLP_USERDATA));
            if (module != nullptr) PostMessageA(module->hwndParent, message, wParam, lParam);
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
