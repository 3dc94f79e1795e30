// Audacious's transport and settings for the show.
#include "audacious/audacious_player.h"

#include <dlfcn.h>
#include <libaudcore/drct.h>
#include <libaudcore/runtime.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "hostkit/desktop/frame_save.h"

namespace audacious {
namespace {

constexpr int kSeekMs = static_cast<int>(hostkit::kSeekSeconds * 1000);
constexpr int kVolumeStep = hostkit::kVolumeStepPercent;

const char* const kDefaults[] = {"plugin_path", "", "full_screen", "FALSE", nullptr};

// The plug-in this one hosts by default: beside the program's other files, found from where
// this library lies (the same relative path in the build tree and when installed).
std::string DefaultPluginPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DefaultPluginPath), &info) == 0 ||
        info.dli_fname == nullptr)
        return TOLVEK_VIS_RELATIVE_PATH;
    std::filesystem::path self = std::filesystem::path(info.dli_fname).parent_path();
    return (self / TOLVEK_VIS_RELATIVE_PATH).lexically_normal().string();
}

}  // namespace

void AudaciousPlayer::Init() {
    aud_config_set_defaults(kSection, kDefaults);
    if (const char* path = std::getenv("TOLVEK_AUDACIOUS_LOG"); path != nullptr && *path != '\0')
        log_ = std::fopen(path, "a");
}

void AudaciousPlayer::Cleanup() {
    timer_.stop();
    if (log_ != nullptr)
        std::fclose(log_);
    log_ = nullptr;
}

bool AudaciousPlayer::Playing() {
    return aud_drct_get_playing() && !aud_drct_get_paused();
}

hostkit::SoundFormat AudaciousPlayer::Format() {
    hostkit::SoundFormat format;
    if (aud_drct_get_playing()) {
        int bitrate = 0, rate = 0, channels = 0;
        aud_drct_get_info(bitrate, rate, channels);
        if (rate > 0)
            format.sampleRate = rate;
        if (channels > 0)
            format.channels = std::min(channels, 2);
    }
    return format;
}

void AudaciousPlayer::Act(hostkit::PlayerCommand command) {
    using hostkit::PlayerCommand;
    switch (command) {
        case PlayerCommand::Play:
            aud_drct_play();
            break;
        case PlayerCommand::Pause:
            aud_drct_pause();
            break;
        case PlayerCommand::Stop:
            aud_drct_stop();
            break;
        case PlayerCommand::Previous:
            aud_drct_pl_prev();
            break;
        case PlayerCommand::Next:
            aud_drct_pl_next();
            break;
        case PlayerCommand::SeekBack:
            aud_drct_seek(std::max(0, aud_drct_get_time() - kSeekMs));
            break;
        case PlayerCommand::SeekForward:
            aud_drct_seek(aud_drct_get_time() + kSeekMs);
            break;
        case PlayerCommand::VolumeUp:
            aud_drct_set_volume_main(std::min(100, aud_drct_get_volume_main() + kVolumeStep));
            break;
        case PlayerCommand::VolumeDown:
            aud_drct_set_volume_main(std::max(0, aud_drct_get_volume_main() - kVolumeStep));
            break;
        // Audacious's own shuffle and repeat, as its S and R keys set them.
        case PlayerCommand::ToggleShuffle:
            aud_set_bool(nullptr, "shuffle", !aud_get_bool(nullptr, "shuffle"));
            break;
        case PlayerCommand::ToggleRepeat:
            aud_set_bool(nullptr, "repeat", !aud_get_bool(nullptr, "repeat"));
            break;
        // The controller answers these itself.
        case PlayerCommand::ToggleFullScreen:
        case PlayerCommand::SaveFrame:
        case PlayerCommand::Quit:
            break;
    }
}

std::string AudaciousPlayer::PluginPath() {
    String configured = aud_get_str(kSection, "plugin_path");
    if (configured && configured[0] != '\0')
        return std::string(configured);
    if (const char* env = std::getenv("TOLVEK_PLUGIN"); env != nullptr && *env != '\0')
        return env;
    return DefaultPluginPath();
}

bool AudaciousPlayer::FullScreenOnStart() {
    return aud_get_bool(kSection, "full_screen");
}

std::string AudaciousPlayer::PicturesFolder() {
    return hostkit::PicturesFolder();
}

void AudaciousPlayer::StartTimer(int intervalMs, std::function<void()> tick) {
    // Audacious's own timer runs on whichever main loop it was started with, GLib's or Qt's.
    timer_.start(intervalMs, std::move(tick));
}

void AudaciousPlayer::StopTimer() {
    timer_.stop();
}

// One line a frame: number, playback time, loudest byte.
void AudaciousPlayer::Rendered(int frame, const winampVisModule& module) {
    if (log_ == nullptr)
        return;
    int peak = 0;
    for (int i = 0; i < 576; ++i) {
        const int value = static_cast<signed char>(module.waveformData[0][i]);
        peak = std::max(peak, std::abs(value));
    }
    std::fprintf(log_, "frame %d time %d peak %d nch %d\n", frame, aud_drct_get_time(), peak,
                 module.nCh);
    std::fflush(log_);
}

void AudaciousPlayer::Note(const std::string& line) {
    if (log_ == nullptr)
        return;
    std::fprintf(log_, "show %s\n", line.c_str());
    std::fflush(log_);
}

}  // namespace audacious
