// `tolvek render`: options, the sound, the outputs, progress, Ctrl-C and what is said at the end.
#include "player/render/render_command.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "hostkit/builtin_tune.h"
#include "hostkit/desktop/plugin_library.h"
#include "platform/host_services.h"
#include "player/install_paths.h"
#include "player/render/offline_client.h"
#include "player/render/offline_render.h"
#include "player/render/png_sequence.h"
#include "player/render/render_options.h"
#include "player/render/render_progress.h"
#include "player/render/video_encoder.h"
#include "player/sound/file_track.h"
#include "hostkit/playlist.h"
#include "player/sound/playlist_track.h"
#include "player/sound/sound_excerpt.h"

namespace player {
namespace {

std::atomic<bool> stopRequested{false};
volatile sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) {
    // Only flags: the render ends after the frame it is on, keeping what was written.
    stopSignal = signal;
    stopRequested = true;
}

// Ctrl-C and termination stop the render once; a second Ctrl-C ends the program at once.
class StopSignals {
  public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = &OnStopSignal;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInterrupt_);
        sigaction(SIGTERM, &action, &oldTerminate_);
        // A failing ffmpeg must show as a write error, not end us.
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &oldPipe_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &oldInterrupt_, nullptr);
        sigaction(SIGTERM, &oldTerminate_, nullptr);
        sigaction(SIGPIPE, &oldPipe_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    struct sigaction oldInterrupt_ {};
    struct sigaction oldTerminate_ {};
    struct sigaction oldPipe_ {};
};

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int Fail(const std::string& line) {
    std::fprintf(stderr, "tolvek render: %s\n", line.c_str());
    return 1;
}

// SOUND as one track: a file as it is; a folder or playlist as its files end to end, which
// makes one video of the whole list.
std::unique_ptr<hostkit::SoundTrack> OpenRenderSound(const std::string& sound, std::string* error) {
    auto report = [](const std::string& line) {
        std::fprintf(stderr, "tolvek render: %s\n", line.c_str());
    };
    std::error_code ignored;
    if (!std::filesystem::is_directory(sound, ignored) && !hostkit::IsPlaylistName(sound))
        return FileTrack::Open(sound, error);
    const std::vector<std::string> files = hostkit::ExpandSources({sound}, report);
    auto opener = [](const std::string& name,
                     std::string* why) -> std::unique_ptr<hostkit::SoundTrack> {
        return FileTrack::Open(name, why);
    };
    std::unique_ptr<PlaylistTrack> list = PlaylistTrack::Open(files, opener, report);
    if (list == nullptr) {
        *error = sound + ": none of its files can be played";
        return nullptr;
    }
    report(sound + ": " + std::to_string(list->parts()) + " files, one after the other");
    return list;
}

std::string RangeText(int first, int last) {
    return first == last ? "frame " + std::to_string(first)
                         : "frames " + std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

int RunRender(const std::vector<std::string>& args, const std::string& versionText) {
    std::string error;
    auto options = ParseRenderOptions(args, &error);
    if (!options) {
        std::fprintf(stderr,
                     "tolvek render: %s\nTry 'tolvek render --help' for more information.\n",
                     error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(RenderUsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(versionText.c_str(), stdout);
        return 0;
    }

    std::unique_ptr<hostkit::SoundTrack> track;
    if (!options->silence) {
        if (options->sound.empty()) {
            track = hostkit::MakeBuiltinTune();
        } else {
            track = OpenRenderSound(options->sound, &error);
            if (track == nullptr)
                return Fail(error);
        }
    }
    const FrameRange range = ResolveFrameRange(*options, track ? track->lengthFrames() : 0,
                                               track ? track->sampleRate() : 0);

    std::string ffmpeg;
    if (!options->videoPath.empty()) {
        ffmpeg = FindProgram("ffmpeg");
        if (ffmpeg.empty()) {
            return Fail(
                "--video needs the ffmpeg program, which is not on the PATH "
                "(on Debian: apt install ffmpeg)");
        }
        std::error_code ignored;
        const auto folder = std::filesystem::path(options->videoPath).parent_path();
        if (!folder.empty() && !std::filesystem::is_directory(folder, ignored))
            return Fail(options->videoPath + ": its folder does not exist");
    }
    std::unique_ptr<PngSequence> pngs;
    if (!options->pngDir.empty()) {
        pngs = std::make_unique<PngSequence>(options->pngDir);
        error = pngs->Open();
        if (!error.empty())
            return Fail(error);
    }

    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    if (options->clockSeconds)
        platform::FixCalendarTime(*options->clockSeconds);
    const std::string pluginPath =
        options->pluginPath.empty() ? DefaultPluginPath() : options->pluginPath;
    hostkit::PluginLibrary plugin;
    if (!plugin.Load(pluginPath, &error))
        return Fail(error);

    // The sound of the frames kept, for ffmpeg to mux in from the first of them.
    TemporaryFolder scratch;
    std::unique_ptr<VideoEncoder> video;
    if (!ffmpeg.empty()) {
        if (scratch.path().empty())
            return Fail("cannot make a temporary folder for the video's sound");
        const int rate = track ? track->sampleRate() : kSilenceSampleRate;
        const std::string soundPath = scratch.path() + "/sound.wav";
        error = WriteSoundExcerpt(soundPath, track.get(),
                                  FrameStartSample(range.first, options->fps, rate),
                                  FrameStartSample(range.last + 1, options->fps, rate));
        if (!error.empty())
            return Fail(error);
        video = std::make_unique<VideoEncoder>(
            VideoSettings{options->videoPath, soundPath, options->fps, options->videoWidth,
                          options->videoHeight, options->videoPreset});
        video->SetProgram(ffmpeg);
    }
    std::vector<FrameSink*> sinks;
    if (pngs)
        sinks.push_back(pngs.get());
    if (video)
        sinks.push_back(video.get());
    if (sinks.empty())
        std::fprintf(stderr, "tolvek render: no --png-dir or --video: rendering only\n");

    RenderProgress progress(stderr, isatty(STDERR_FILENO) != 0, &SteadySeconds, range.last);
    OfflineRun run;
    {
        StopSignals signals;
        stopRequested = false;
        run = RenderOffline(plugin, track.get(), options->fps, range, sinks, &stopRequested,
                            [&progress](int frame) { progress.Update(frame); });
        progress.Finish(run.framesRendered);
        for (FrameSink* sink : sinks) {
            std::string finished = sink->Finish();
            if (run.error.empty())
                run.error = finished;
        }
    }
    if (run.end == hostkit::HostEnd::NotStarted)
        return Fail(pluginPath + ": the plug-in did not start");

    const double seconds = progress.elapsedSeconds();
    const double fps = progress.FramesPerSecond(run.framesRendered);
    char summaryText[160];
    std::snprintf(summaryText, sizeof summaryText,
                  "%d frames in %.1f s (%.1f fps, %.1fx real time)", run.framesRendered, seconds,
                  fps, fps / options->fps);
    std::string summary = summaryText;
    if (run.framesWritten > 0) {
        summary += "; " + RangeText(range.first, range.first + run.framesWritten - 1);
        if (pngs)
            summary += " in " + pngs->folder() + "/";
        if (pngs && video)
            summary += " and";
        if (video)
            summary += " in " + options->videoPath;
    }
    std::fprintf(stderr, "tolvek render: %s\n", summary.c_str());

    if (!run.error.empty())
        return Fail(run.error);
    if (stopRequested) {
        std::fprintf(stderr, "tolvek render: stopped at frame %d of %d; what was written is kept\n",
                     run.framesRendered, range.last);
        return 128 + (stopSignal != 0 ? static_cast<int>(stopSignal) : SIGINT);
    }
    if (run.end == hostkit::HostEnd::RenderStopped || run.framesRendered < range.last) {
        return Fail(pluginPath + ": the plug-in ended the show at frame " +
                    std::to_string(run.framesRendered) + " of " + std::to_string(range.last));
    }
    return 0;
}

}  // namespace player
