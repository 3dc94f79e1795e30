// tolvek: hosts the visualization plug-in with sound files, the system's live sound or the
// built-in tune, full screen or in a window.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/builtin_tune.h"
#include "hostkit/capture/capture_source.h"
#include "hostkit/desktop/plugin_library.h"
#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"
#include "hostkit/playlist.h"
#include "hostkit/presented_frame.h"
#include "platform/host_services.h"
#include "player/install_paths.h"
#include "player/live/live_client.h"
#include "player/live/status_line.h"
#include "player/options.h"
#include "player/render/render_command.h"
#include "player/sound/audio_output.h"
#include "player/sound/file_track.h"
#include "player/sound/playback.h"
#include "player/sound/pulse_devices.h"

namespace {

player::LiveClient* interruptTarget = nullptr;

void OnInterrupt(int) {
    // Only an atomic store: the loop posts the quit request on its next turn.
    if (interruptTarget != nullptr)
        interruptTarget->RequestQuit();
}

int ListDevices() {
    std::vector<player::CaptureDevice> devices;
    std::string error;
    if (!player::ListCaptureDevices(&devices, &error)) {
        std::fprintf(stderr, "tolvek: %s\n", error.c_str());
        return 1;
    }
    std::printf("Capture sources (use with --capture NAME; the default is %s):\n",
                hostkit::kDefaultMonitor);
    for (const auto& device : devices) {
        std::printf("  %-50s %s%s\n", device.name.c_str(), device.description.c_str(),
                    device.monitor ? " (what an output plays)" : "");
    }
    return 0;
}

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// GNU style: the program, its package and version on the first line.
const char* const kVersionText = "tolvek (Quenari Tolvek) " TOLVEK_VERSION "\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "render")
        return player::RunRender(std::vector<std::string>(args.begin() + 1, args.end()),
                                 kVersionText);
    std::string error;
    auto options = player::ParseOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "tolvek: %s\nTry 'tolvek --help' for more information.\n",
                     error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(player::UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(kVersionText, stdout);
        return 0;
    }
    if (options->listDevices)
        return ListDevices();
    if (options->clockSeconds)
        platform::FixCalendarTime(*options->clockSeconds);

    const char* forced = std::getenv("TOLVEK_DISPLAY");
    const bool headless = forced != nullptr && std::strcmp(forced, "headless") == 0;
    if (headless) {
        platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    } else {
        platform::SetDisplayPreference(options->window ? platform::DisplayPreference::Window
                                                       : platform::DisplayPreference::FullScreen);
        if (platform::DisplayIsHeadless()) {
            std::fprintf(stderr,
                         "tolvek: no display: neither X11 nor Wayland answered. The show can be "
                         "rendered to image files or a video without one: see `tolvek render`.\n");
            return 1;
        }
    }

    const std::string pluginPath =
        options->pluginPath.empty() ? player::DefaultPluginPath() : options->pluginPath;
    hostkit::PluginLibrary plugin;
    if (!plugin.Load(pluginPath, &error)) {
        std::fprintf(stderr, "tolvek: %s\n", error.c_str());
        return 1;
    }

    player::StatusLine status(stderr, isatty(STDERR_FILENO) != 0);
    auto report = [&status](const std::string& text) { status.Message(text); };
    player::AudioOutput output;
    std::unique_ptr<player::Playback> playback;
    std::unique_ptr<hostkit::CaptureSource> capture;
    if (options->capture) {
        capture = hostkit::CaptureSource::Open(options->captureSource, &error);
        if (capture == nullptr)
            report(error + "; the show runs on silence");
    } else {
        const bool builtin = options->files.empty();
        // The built-in tune is the list's one nameless entry; files dropped later replace it.
        std::vector<std::string> names =
            builtin ? std::vector<std::string>{""} : hostkit::ExpandSources(options->files, report);
        player::TrackOpener opener = [](const std::string& name,
                                        std::string* why) -> std::unique_ptr<hostkit::SoundTrack> {
            if (name.empty())
                return hostkit::MakeBuiltinTune();
            return player::FileTrack::Open(name, why);
        };
        playback = std::make_unique<player::Playback>(std::move(names), opener, &output,
                                                      &SteadySeconds, report, builtin);
        playback->SetShuffle(options->shuffle);
        playback->SetRepeat(options->repeat);
        if (!playback->Start()) {
            std::fprintf(stderr, "tolvek: none of the files can be played\n");
            return 1;
        }
    }

    auto sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    player::LiveClient client(playback.get(), capture.get(), sleep, &status);
    hostkit::HostWindow window("TolvekPlayer", "Quenari Tolvek player");
    window.SetControls(&client);
    hostkit::PresentedFrameCapture frames;
    client.SaveFramesFrom(&frames);
    client.SetTitleSink([&window](const std::string& title) { window.SetTitle(title); });
    interruptTarget = &client;
    std::signal(SIGINT, &OnInterrupt);
    std::signal(SIGTERM, &OnInterrupt);

    hostkit::HostLoop loop(*plugin.module(), window.handle(), plugin.instance());
    hostkit::HostEnd end = loop.Host(client);
    interruptTarget = nullptr;
    if (end == hostkit::HostEnd::NotStarted) {
        std::fprintf(stderr, "tolvek: %s: the plug-in did not start\n", pluginPath.c_str());
        return 1;
    }
    return 0;
}
