// A visualization plug-in for tests: records every call and the sound it was handed, opens a
// window that forwards keys to its host like the real show, and can be told to fail.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/player/fake_plugin/fake_vis_record.h"

#ifndef FAKE_VIS_VARIANT
#define FAKE_VIS_VARIANT 0
#endif

namespace {

FakeVisRecord record;
char description[] = "Fake visualization";
constexpr const char* kClass = "FakeVisShow";

LRESULT FakeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* module = reinterpret_cast<winampVisModule*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                return 0;
            }
            [[fallthrough]];
        case WM_KEYUP:
            if (module != nullptr)
                PostMessageA(module->hwndParent, message, wParam, lParam);
            return 0;
        default:
            if (message >= WM_USER) {
                record.events.push_back("message " + std::to_string(message - WM_USER));
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int FakeInit(winampVisModule* module) {
    record.events.push_back("Init");
    record.parentAtInit = module->hwndParent;
    record.instanceAtInit = module->hDllInstance;
    record.sRateAtInit = module->sRate;
    record.nChAtInit = module->nCh;
    if (const char* renders = std::getenv("FAKE_VIS_RENDERS")) {
        record.stopAfterRenders = std::atoi(renders);
    }
    if (record.initResult != 0)
        return record.initResult;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FakeWindowProc;
    windowClass.hInstance = module->hDllInstance;
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    record.window = CreateWindowExA(0, kClass, description, WS_VISIBLE, 0, 0, 64, 48,
                                    module->hwndParent, nullptr, module->hDllInstance, nullptr);
    SetWindowLongPtrA(record.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(module));
    return 0;
}

int FakeRender(winampVisModule* module) {
    record.events.push_back("Render");
    std::array<unsigned char, 2 * kWaveformSamples> wave{};
    std::array<unsigned char, 2 * kWaveformSamples> spectrum{};
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kWaveformSamples; ++i) {
            wave[static_cast<std::size_t>(c * kWaveformSamples + i)] = module->waveformData[c][i];
            spectrum[static_cast<std::size_t>(c * kWaveformSamples + i)] =
                module->spectrumData[c][i];
        }
    }
    record.waveforms.push_back(wave);
    record.spectra.push_back(spectrum);
    record.formats.push_back({module->sRate, module->nCh});
    int count = static_cast<int>(record.waveforms.size());
    return count == record.stopAfterRenders ? 1 : 0;
}

void FakeQuit(winampVisModule* module) {
    record.events.push_back("Quit");
    // For a test that runs the player program: the waveforms, 1152 bytes per frame.
    if (const char* out = std::getenv("FAKE_VIS_OUT")) {
        if (FILE* file = std::fopen(out, "wb")) {
            for (const auto& wave : record.waveforms)
                std::fwrite(wave.data(), 1, wave.size(), file);
            std::fclose(file);
        }
    }
    DestroyWindow(record.window);
    record.window = nullptr;
    UnregisterClassA(kClass, module->hDllInstance);
}

void FakeConfig(winampVisModule*) {
    record.events.push_back("Config");
}

winampVisModule fakeModule = {description, nullptr,    nullptr,  0,      0,  25,
                              25,          0,          2,        {},     {}, FakeConfig,
                              FakeInit,    FakeRender, FakeQuit, nullptr};

winampVisModule* GetFakeModule(int index) {
#if FAKE_VIS_VARIANT == 2
    (void)index;
    (void)fakeModule;
    return nullptr;  // a header that offers no module
#else
    return index == 0 ? &fakeModule : nullptr;
#endif
}

#if FAKE_VIS_VARIANT == 1
winampVisHeader header = {0x100, description, GetFakeModule};  // an older interface
#else
winampVisHeader header = {VIS_HDRVER, description, GetFakeModule};
#endif

}  // namespace

extern "C" TOLVEK_EXPORT winampVisHeader* winampVisGetHeader() {
    return &header;
}
extern "C" TOLVEK_EXPORT FakeVisRecord* fakeVisRecord() {
    return &record;
}
