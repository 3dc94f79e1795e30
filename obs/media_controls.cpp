// The commands on OBS's media controls.
#include "obs/media_controls.h"

#include <obs-module.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "hostkit/desktop/frame_save.h"
#include "obs/show_slot.h"

namespace tolvek_obs {
namespace {

// The setting of a source kind that repeats or shuffles its media, or null.
const char* RepeatSetting(const char* kind) {
    const std::string id = kind != nullptr ? kind : "";
    if (id == "ffmpeg_source")
        return "looping";
    if (id == "vlc_source")
        return "loop";
    return nullptr;
}

const char* ShuffleSetting(const char* kind) {
    return kind != nullptr && std::string(kind) == "vlc_source" ? "shuffle" : nullptr;
}

bool Toggle(obs_source_t* source, const char* setting) {
    obs_data_t* settings = obs_source_get_settings(source);
    const bool now = !obs_data_get_bool(settings, setting);
    obs_data_set_bool(settings, setting, now);
    obs_source_update(source, settings);
    obs_data_release(settings);
    return now;
}

}  // namespace

MediaControls::~MediaControls() {
    obs_weak_source_release(target_);
}

void MediaControls::Aim(obs_source_t* listened) {
    if (listened != nullptr && obs_weak_source_references_source(target_, listened))
        return;
    obs_weak_source_release(target_);
    target_ = listened != nullptr ? obs_source_get_weak_source(listened) : nullptr;
}

void MediaControls::Act(hostkit::PlayerCommand command) {
    using hostkit::PlayerCommand;
    if (command == PlayerCommand::SaveFrame) {
        std::string error;
        const std::string path =
            hostkit::SaveFrame(frame_(), hostkit::PicturesFolder(), std::time(nullptr), &error);
        if (path.empty())
            LogWarning("the frame was not saved: " + error);
        else
            LogInfo("the frame was saved as " + path);
        return;
    }
    if (command == PlayerCommand::ToggleFullScreen || command == PlayerCommand::Quit)
        return;  // a projector gives full screen, and OBS is not the show's to end
    obs_source_t* source = target_ != nullptr ? obs_weak_source_get_source(target_) : nullptr;
    if (source == nullptr) {
        LogInfo(std::string("key for ") + hostkit::CommandName(command) +
                ": the show listens to no source");
        return;
    }
    const obs_media_state state = obs_source_media_get_state(source);
    std::string done = hostkit::CommandName(command);
    switch (command) {
        case PlayerCommand::Play:
            if (state == OBS_MEDIA_STATE_PAUSED)
                obs_source_media_play_pause(source, false);
            else
                obs_source_media_restart(source);
            break;
        case PlayerCommand::Pause:
            obs_source_media_play_pause(source, state == OBS_MEDIA_STATE_PLAYING);
            break;
        case PlayerCommand::Stop:
            obs_source_media_stop(source);
            break;
        case PlayerCommand::Previous:
            obs_source_media_previous(source);
            break;
        case PlayerCommand::Next:
            obs_source_media_next(source);
            break;
        case PlayerCommand::SeekBack:
        case PlayerCommand::SeekForward: {
            const int64_t step = static_cast<int64_t>(hostkit::kSeekSeconds * 1000);
            const int64_t now = obs_source_media_get_time(source);
            obs_source_media_set_time(
                source,
                std::max<int64_t>(0, now + (command == PlayerCommand::SeekBack ? -step : step)));
            break;
        }
        case PlayerCommand::VolumeUp:
        case PlayerCommand::VolumeDown: {
            const float step = hostkit::kVolumeStepPercent / 100.0f;
            const float volume = std::clamp(
                obs_source_get_volume(source) + (command == PlayerCommand::VolumeUp ? step : -step),
                0.0f, 1.0f);
            obs_source_set_volume(source, volume);
            done += " to " + std::to_string(static_cast<int>(volume * 100 + 0.5f)) + " %";
            break;
        }
        case PlayerCommand::ToggleRepeat:
        case PlayerCommand::ToggleShuffle: {
            const char* kind = obs_source_get_id(source);
            const char* setting =
                command == PlayerCommand::ToggleRepeat ? RepeatSetting(kind) : ShuffleSetting(kind);
            if (setting == nullptr)
                done += ": not a setting of this kind of source";
            else
                done += Toggle(source, setting) ? " on" : " off";
            break;
        }
        case PlayerCommand::ToggleFullScreen:
        case PlayerCommand::SaveFrame:
        case PlayerCommand::Quit:
            break;
    }
    LogInfo("key for " + done + " on '" + obs_source_get_name(source) + "'");
    obs_source_release(source);
}

WPARAM VirtualKeyOf(uint32_t key) {
    if (key >= 'a' && key <= 'z')
        return key - 'a' + 'A';
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return key;
    if (key >= 0xFFBE && key <= 0xFFC9)  // F1 to F12
        return static_cast<WPARAM>(VK_F1 + (key - 0xFFBE));
    switch (key) {
        case ' ':
            return VK_SPACE;
        case 0xFF1B:
            return VK_ESCAPE;
        case 0xFF0D:
        case 0xFF8D:
            return VK_RETURN;
        case 0xFF08:
            return VK_BACK;
        case 0xFF09:
            return VK_TAB;
        case 0xFF51:
            return VK_LEFT;
        case 0xFF52:
            return VK_UP;
        case 0xFF53:
            return VK_RIGHT;
        case 0xFF54:
            return VK_DOWN;
        case 0xFF55:
            return VK_PRIOR;
        case 0xFF56:
            return VK_NEXT;
        case 0xFF50:
            return VK_HOME;
        case 0xFF57:
            return VK_END;
        default:
            return 0;
    }
}

}  // namespace tolvek_obs
