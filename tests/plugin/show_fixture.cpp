// Drives the show inside the test process.
#include "tests/plugin/show_fixture.h"

#include <cstdlib>
#include <string>

#include "player/plugin_loader.h"

namespace testing_support {
namespace {

std::vector<ParentMessage>* parentLog = nullptr;

LRESULT ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (parentLog != nullptr && message != WM_CREATE && message != WM_DESTROY) {
        parentLog->push_back({message, wParam, lParam});
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HINSTANCE PluginFolderInstance() {
    static player::PluginLibrary library;
    static bool loaded = [] {
        const char* dir = std::getenv("TOLVEK_PLUGIN_DIR");
        std::string error;
        return dir != nullptr && library.Load(std::string(dir) + "/vis_tolvek.so", &error);
    }();
    return loaded ? library.instance() : nullptr;
}

void ShowFixture::SetUp() {
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(1000000000);
    parentLog = &parentMessages;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.lpszClassName = "TestHostParent";
    RegisterClassA(&windowClass);
    parent = CreateWindowExA(0, "TestHostParent", "host", 0, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    platform::SetPresentObserver([this](const platform::PresentedFrame& frame) {
        ++presentedCount;
        lastFrame.resize(static_cast<std::size_t>(frame.width) * frame.height);
        for (int y = 0; y < frame.height; ++y) {
            std::memcpy(lastFrame.data() + static_cast<std::size_t>(y) * frame.width,
                        frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.pitch,
                        static_cast<std::size_t>(frame.width));
        }
        std::memcpy(lastPalette.data(), frame.palette, sizeof(PALETTEENTRY) * 256);
    });
    platform::SetMessageBoxObserver([](const char*, const char*) {});
    // Each test starts from the load-time counters, as a freshly loaded module would.
    ShowState& s = showState;
    s.frameCounter = s.scene = s.act = s.colourShift = 0;
    s.treeDepth = 1;
    s.treeUnit = 5;
    for (int i = 0; i < 3; ++i) s.flockVX[i] = s.flockVY[i] = 10;
    module = GetModule(0);
    module->hwndParent = parent;
    module->hDllInstance = PluginFolderInstance();
    module->sRate = 44100;
    module->nCh = 2;
    FillWaveform(0);
}

void ShowFixture::TearDown() {
    if (initialised) module->Quit(module);
    Pump();
    DestroyWindow(parent);
    UnregisterClassA("TestHostParent", nullptr);
    Pump();
    platform::SetPresentObserver(nullptr);
    platform::SetMessageBoxObserver(nullptr);
    parentLog = nullptr;
}

bool ShowFixture::Pump() {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        DispatchMessageA(&message);
    }
    return quit;
}

void ShowFixture::FillWaveform(unsigned char value) {
    std::memset(module->waveformData, value, sizeof module->waveformData);
}

void ShowFixture::RenderFrames(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(module->Render(module), 0);
}

}  // namespace testing_support
