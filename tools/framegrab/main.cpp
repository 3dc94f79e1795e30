// tolvek-framegrab: renders frames of the plug-in headless, with a fixed seed clock and the
// sound advanced by delayMs per frame, and keeps one frame as an 8-bit BMP with its palette:
// the reference a Windows build's photograph of the same frame is compared with.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/desktop/host_options.h"
#include "hostkit/desktop/plugin_library.h"
#include "hostkit/desktop/wav_sound.h"
#include "platform/host_services.h"
#include "hostkit/desktop/picture_file.h"
#include "tools/framegrab/grab_client.h"

namespace {

constexpr int kTestSignalSeconds = 30;

std::string DefaultPluginPath() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path dir = error ? std::filesystem::current_path() : exe.parent_path();
    return (dir / "plugin" / "vis_tolvek.so").string();
}

LRESULT HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "tolvek-framegrab: %s\n", text.c_str());
    return 1;
}

int WriteTestSignal(const std::string& path) {
    const hostkit::Sound sound = hostkit::MakeTestSignal(44100, kTestSignalSeconds);
    if (std::string error = hostkit::WriteFileBytes(path, hostkit::EncodeWav(sound));
        !error.empty()) {
        return Fail(error);
    }
    return 0;
}

int WriteFrame(const hostkit::HostOptions& options, int number,
               const hostkit::IndexedFrame& frame) {
    const std::string path = options.ShotPathFor(number);
    if (std::string error = hostkit::WriteFileBytes(path, hostkit::EncodeIndexedBmp(frame));
        !error.empty()) {
        return Fail(error);
    }
    std::printf("kept frame %d in %s\n", number, path.c_str());
    if (options.pngPath.empty())
        return 0;
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i) {
        const hostkit::Rgb c = frame.palette[static_cast<std::size_t>(i)];
        palette[i] = {c.red, c.green, c.blue, 0};
    }
    std::string error = hostkit::WriteIndexedPngFile(hostkit::WithFrameNumber(options.pngPath, number),
                                                frame.indices.data(), frame.width, frame.width,
                                                frame.height, palette);
    return error.empty() ? 0 : Fail(error);
}

int Grab(const hostkit::HostOptions& options) {
    std::unique_ptr<hostkit::Sound> sound;
    if (!options.wavPath.empty()) {
        hostkit::WavResult wav = hostkit::ReadWavFile(options.wavPath);
        if (!wav.ok())
            return Fail(wav.error);
        sound = std::make_unique<hostkit::Sound>(std::move(wav.sound));
    }
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    if (options.clockSeconds)
        platform::FixCalendarTime(*options.clockSeconds);

    const std::string path = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
    hostkit::PluginLibrary plugin;
    std::string error;
    if (!plugin.Load(path, &error))
        return Fail(error);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.lpszClassName = "TolvekFrameGrab";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, windowClass.lpszClassName, "tolvek-framegrab", 0, 0, 0, 320, 120,
                                nullptr, nullptr, nullptr, nullptr);

    framegrab::GrabClient client(options, sound.get());
    hostkit::HostLoop loop(*plugin.module(), host, plugin.instance());
    const hostkit::HostEnd end = loop.Host(client);
    DestroyWindow(host);
    UnregisterClassA(windowClass.lpszClassName, nullptr);
    if (end == hostkit::HostEnd::NotStarted)
        return Fail(path + ": the plug-in did not start");
    std::printf("rendered %d frames\n", client.framesRendered());
    if (options.shotPath.empty())
        return 0;
    if (client.kept().size() != options.ShotFrames().size()) {
        return Fail("not every chosen frame was presented");
    }
    for (const auto& [number, frame] : client.kept()) {
        if (int result = WriteFrame(options, number, frame); result != 0)
            return result;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        hostkit::ParseHostOptions(hostkit::HostProgram::FrameGrabber,
                                  std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "tolvek-framegrab: %s\n%s", error.c_str(),
                     hostkit::HostUsage(hostkit::HostProgram::FrameGrabber).c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(hostkit::HostUsage(hostkit::HostProgram::FrameGrabber).c_str(), stdout);
        return 0;
    }
    if (!options->makeWavPath.empty())
        return WriteTestSignal(options->makeWavPath);
    return Grab(*options);
}
