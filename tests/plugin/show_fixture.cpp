// Drives the show inside the test process.
#include "tests/plugin/show_fixture.h"

#include <cstdlib>
#include <string>

#include "hostkit/desktop/plugin_library.h"
#include "tests/support/host_window.h"
#include "tests/support/load_time_counters.h"

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
    static hostkit::PluginLibrary library;
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
    parent = OpenHostWindow("TestHostParent", ParentProc);
    presents_ = platform::AddPresentObserver([this](const platform::PresentedFrame& frame) {
        ++presentedCount;
        frame.CopyPixels(lastFrame);
        std::memcpy(lastPalette.data(), frame.palette, sizeof(PALETTEENTRY) * 256);
    });
    boxes_ = platform::AddMessageBoxObserver([](const char*, const char*) {});
    // Each test starts from the load-time counters, as a freshly loaded module would.
    ResetLoadTimeCounters(showState);
    module = GetModule(0);
    PrepareModule(module, parent, PluginFolderInstance());
    FillWaveform(0);
}

void ShowFixture::TearDown() {
    if (initialised)
        module->Quit(module);
    Pump();
    CloseHostWindow(parent, "TestHostParent");
    Pump();
    presents_.Reset();
    boxes_.Reset();
    parentLog = nullptr;
}

bool ShowFixture::Pump() {
    return testing_support::PumpMessages();
}

void ShowFixture::FillWaveform(unsigned char value) {
    std::memset(module->waveformData, value, sizeof module->waveformData);
}

void ShowFixture::RenderFrames(int n) {
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(module->Render(module), 0);
}

}  // namespace testing_support
