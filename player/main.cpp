// tolvek: shows a test pattern through the Screen until the show itself is hosted here.
#include <cstdio>
#include <string>

#include "graphics/screen.h"
#include "platform/host_services.h"
#include "player/indexed_png.h"

namespace {

LRESULT PatternWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void DrawPattern(Screen& screen) {
    screen.Clear(0);
    Surface& back = *screen.backBuffer;
    back.Lock();
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) back.PutPixel(x, y, (x / 40) * 16 + y / 30);
    }
    for (int i = 0; i < 640; i += 20) back.DrawLine(i, 0, 639 - i, 479, 255);
    back.Unlock();
}

}  // namespace

int main() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PatternWindowProc;
    windowClass.lpszClassName = "TolvekPattern";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "TolvekPattern", "Quenari Tolvek", WS_VISIBLE | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    PALETTEENTRY lastPalette[256] = {};
    std::string png;
    platform::SetPresentObserver([&](const platform::PresentedFrame& frame) {
        if (!png.empty()) return;
        png = "tolvek-pattern.png";
        std::string error = player::WriteIndexedPng(png, frame.pixels, frame.pitch, frame.width,
                                                    frame.height, frame.palette);
        if (!error.empty()) std::fprintf(stderr, "tolvek: %s: %s\n", png.c_str(), error.c_str());
        (void)lastPalette;
    });
    {
        Screen screen;
        screen.Create(window, 640, 480, 8, 0);
        screen.SetPaletteFromBitmap("default");
        const bool headless = platform::DisplayIsHeadless();
        for (int frame = 0; frame < (headless ? 1 : 180); ++frame) {
            MSG message;
            bool quit = false;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) quit = true;
                DispatchMessageA(&message);
            }
            if (quit) break;
            DrawPattern(screen);
            screen.Present();
            if (!headless) Sleep(16);
        }
        std::printf("test pattern presented %s; first frame written to %s\n",
                    headless ? "headless" : "in a window", png.c_str());
    }
    DestroyWindow(window);
    return 0;
}
