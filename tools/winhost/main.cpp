// tolvek-winhost: hosts vis_tolvek.dll as the media player's visualization thread does
// (messages, sound, Render, Sleep(delayMs)), for runs that nobody watches: it checks that the
// show takes the display to 640x480x8, photographs a chosen frame, waits for the quit request
// and checks that Quit gives the desktop back. It first reads the plug-in's records by their
// published offsets. Exit 0 when all of that held.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/desktop/host_options.h"
#include "hostkit/desktop/plugin_library.h"
#include "hostkit/desktop/wav_sound.h"
#include "tools/winhost/host_log.h"
#include "tools/winhost/host_window.h"
#include "tools/winhost/plugin_path.h"
#include "tools/winhost/record_check.h"
#include "tools/winhost/screen_shot.h"
#include "tools/winhost/vis_client.h"
#include "tools/winhost/watchdog.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotStarted = 1;
constexpr int kExitNoQuitRequest = 2;
constexpr int kExitDisplayMode = 3;
constexpr int kExitMessageBox = 4;
constexpr int kExitRecords = 5;
constexpr int kExitShot = 6;
constexpr winhost::DisplayMode kShowMode{640, 480, 8};

int Host(const hostkit::HostOptions& options, winhost::HostLog& log) {
    std::unique_ptr<hostkit::Sound> sound;
    if (!options.wavPath.empty()) {
        hostkit::WavResult wav = hostkit::ReadWavFile(options.wavPath);
        if (!wav.ok()) {
            log.Line("FAIL: " + wav.error);
            return kExitNotStarted;
        }
        sound = std::make_unique<hostkit::Sound>(std::move(wav.sound));
        log.Line("sound: " + options.wavPath + ", " + std::to_string(sound->sampleRate) + " Hz, " +
                 std::to_string(sound->channels) + " channel(s)");
    } else {
        log.Line("sound: silence");
    }
    if (options.clockSeconds) {
        // The DLL reads it through the process environment it shares with this program.
        SetEnvironmentVariableA("TOLVEK_CLOCK", std::to_string(*options.clockSeconds).c_str());
        log.Line("seed clock fixed at " + std::to_string(*options.clockSeconds));
    }
    const winhost::DisplayMode desktop = winhost::CurrentDisplayMode();
    log.Line("desktop display mode " + desktop.Text());

    const std::string path =
        options.pluginPath.empty() ? winhost::DefaultPluginPath() : options.pluginPath;
    hostkit::PluginLibrary dll;
    std::string error;
    if (!dll.Load(path, &error)) {
        log.Line("FAIL: " + error);
        return kExitNotStarted;
    }
    log.Line("loaded " + path + ": \"" + dll.header()->description + "\", module \"" +
             dll.module()->description + "\"");
    if (!winhost::CheckRecords(dll.header(), dll.module(), dll.instance(), log)) {
        log.Line("FAIL: the plug-in's records are not what the media player reads");
        return kExitRecords;
    }

    winhost::HostWindow window(log);
    winhost::Watchdog watchdog(log, GetCurrentThreadId(), options.timeoutSeconds);
    winhost::VisClient client(options, sound.get(), log);
    hostkit::HostLoop loop(*dll.module(), window.handle(), dll.instance());
    if (!loop.Start(client)) {
        log.Line("FAIL: Init returned non-zero: the module did not start");
        return kExitNotStarted;
    }
    const winhost::DisplayMode during = winhost::CurrentDisplayMode();
    log.Line("Init returned 0; display mode " + during.Text());

    const hostkit::HostEnd end = loop.Run(client);
    const winhost::DisplayMode after = winhost::CurrentDisplayMode();
    log.Line(std::string(end == hostkit::HostEnd::QuitRequest ? "the quit request reached the host"
                                                              : "Render asked to stop") +
             " after frame " + std::to_string(client.framesRendered()) + "; Quit returned");
    log.Line("display mode after Quit " + after.Text());

    int result = kExitOk;
    if (during != kShowMode) {
        log.Line("FAIL: the show ran in " + during.Text() + ", not " + kShowMode.Text());
        result = kExitDisplayMode;
    }
    if (after != desktop) {
        log.Line("FAIL: Quit left the display in " + after.Text() + ", not the desktop's " +
                 desktop.Text());
        result = kExitDisplayMode;
    }
    if (watchdog.messageBoxes() > 0) {
        log.Line("FAIL: " + std::to_string(watchdog.messageBoxes()) + " message box(es) appeared");
        result = kExitMessageBox;
    }
    if (client.closedByHost())
        result = kExitNoQuitRequest;
    if (!client.shotOk())
        result = kExitShot;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = hostkit::ParseHostOptions(
        hostkit::HostProgram::WindowsHost, std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "tolvek-winhost: %s\n%s", error.c_str(),
                     hostkit::HostUsage(hostkit::HostProgram::WindowsHost).c_str());
        return kExitNotStarted;
    }
    if (options->help) {
        std::fputs(hostkit::HostUsage(hostkit::HostProgram::WindowsHost).c_str(), stdout);
        return kExitOk;
    }
    winhost::HostLog log;
    if (!options->logPath.empty() && !log.OpenFile(options->logPath)) {
        std::fprintf(stderr, "tolvek-winhost: %s: cannot write the log\n",
                     options->logPath.c_str());
        return kExitNotStarted;
    }
    const int result = Host(*options, log);
    log.Line(result == kExitOk ? "PASS" : "exit code " + std::to_string(result));
    return result;
}
