// The Audacious visualization plug-in "Quenari Tolvek": Audacious's side of the hosting (its
// sound, its transport, its settings) around the show widget.
#include <libaudcore/drct.h>
#include <libaudcore/plugin.h>
#include <libaudcore/preferences.h>
#include <libaudcore/runtime.h>
#include <dlfcn.h>

#include <QObject>
#include <QPointer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audacious/show_widget.h"

// Texts Audacious shows as they are (the plug-in has no translations).
#define N_(text) text

namespace {

constexpr const char* kSection = "quenari-tolvek";
constexpr int kSeekMs = static_cast<int>(hostkit::kSeekSeconds * 1000);
constexpr int kVolumeStep = hostkit::kVolumeStepPercent;

const char* const kDefaults[] = {"plugin_path", "", "full_screen", "FALSE", nullptr};

// The plug-in this one hosts by default: beside the program's other files, found from where
// this library lies (the same relative path in the build tree and when installed).
std::string DefaultPluginPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DefaultPluginPath), &info) == 0 || info.dli_fname == nullptr)
        return TOLVEK_VIS_RELATIVE_PATH;
    std::filesystem::path self = std::filesystem::path(info.dli_fname).parent_path();
    return (self / TOLVEK_VIS_RELATIVE_PATH).lexically_normal().string();
}

class AudaciousPlayer : public audacious::HostPlayer {
  public:
    bool Playing() override { return aud_drct_get_playing() && !aud_drct_get_paused(); }

    hostkit::SoundFormat Format() override {
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

    hostkit::SoundRing& Ring() override { return ring_; }

    void Act(hostkit::PlayerCommand command) override {
        using hostkit::PlayerCommand;
        switch (command) {
            case PlayerCommand::Play: aud_drct_play(); break;
            case PlayerCommand::Pause: aud_drct_pause(); break;
            case PlayerCommand::Stop: aud_drct_stop(); break;
            case PlayerCommand::Previous: aud_drct_pl_prev(); break;
            case PlayerCommand::Next: aud_drct_pl_next(); break;
            case PlayerCommand::SeekBack:
                aud_drct_seek(std::max(0, aud_drct_get_time() - kSeekMs));
                break;
            case PlayerCommand::SeekForward: aud_drct_seek(aud_drct_get_time() + kSeekMs); break;
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
            case PlayerCommand::ToggleFullScreen:
            case PlayerCommand::SaveFrame:
            case PlayerCommand::Quit: break;
        }
    }

    std::string PluginPath() override {
        String configured = aud_get_str(kSection, "plugin_path");
        if (configured && configured[0] != '\0')
            return std::string(configured);
        if (const char* env = std::getenv("TOLVEK_PLUGIN"); env != nullptr && *env != '\0')
            return env;
        return DefaultPluginPath();
    }

    bool FullScreenOnStart() override { return aud_get_bool(kSection, "full_screen"); }

    // With TOLVEK_AUDACIOUS_LOG set, one line a frame: number, playback time, loudest byte.
    void Rendered(int frame, const winampVisModule& module) override {
        if (log_ == nullptr)
            return;
        int peak = 0;
        for (int i = 0; i < 576; ++i) {
            const int value = static_cast<signed char>(module.waveformData[0][i]);
            peak = std::max(peak, std::abs(value));
        }
        std::fprintf(log_, "frame %d time %d peak %d\n", frame, aud_drct_get_time(), peak);
        std::fflush(log_);
    }

    void Note(const std::string& line) override {
        if (log_ == nullptr)
            return;
        std::fprintf(log_, "show %s\n", line.c_str());
        std::fflush(log_);
    }

    void OpenLog() {
        if (const char* path = std::getenv("TOLVEK_AUDACIOUS_LOG"); path != nullptr && *path != '\0')
            log_ = std::fopen(path, "a");
    }
    void CloseLog() {
        if (log_ != nullptr)
            std::fclose(log_);
        log_ = nullptr;
    }

  private:
    // A few blocks: only the newest is shown.
    hostkit::SoundRing ring_{4 * audacious::kAudaciousBlockFrames};
    std::FILE* log_ = nullptr;
};

const PreferencesWidget kPreferences[] = {
    WidgetEntry(N_("Visualization plug-in (empty: the one installed with this):"),
                WidgetString(kSection, "plugin_path")),
    WidgetCheck(N_("Full screen when the show starts"), WidgetBool(kSection, "full_screen")),
};
const PluginPreferences kPluginPreferences = {{kPreferences}, nullptr, nullptr, nullptr};

}  // namespace

// Outside the unnamed namespace: Audacious finds the instance by its name.
class TolvekVisualization : public VisPlugin {
  public:
    static constexpr PluginInfo kInfo = {
        N_("Quenari Tolvek"), kSection,
        N_("Quenari Tolvek\n\nThe 8-bit, 256-colour show of the visualization plug-in "
           "vis_tolvek.so (or any plug-in of the same interface), played inside Audacious.\n\n"
           "Double click or F: full screen. Escape ends the show. X play, C pause, V stop, "
           "Z/B previous/next, Left/Right seek, Up/Down volume."),
        &kPluginPreferences, PluginQtOnly};

    TolvekVisualization() : VisPlugin(kInfo, Visualizer::MultiPCM) {}

    bool init() override {
        aud_config_set_defaults(kSection, kDefaults);
        player_.OpenLog();
        return true;
    }

    void cleanup() override {
        // Audacious quitting, or the plug-in disabled: the widget goes with it.
        delete widget_.data();
        player_.CloseLog();
    }

    void* get_qt_widget() override {
        if (widget_)
            return widget_.data();
        widget_ = new audacious::ShowWidget(player_);
        widget_->setObjectName("QuenariTolvek");
        return widget_.data();
    }

    void clear() override { player_.Ring().Clear(); }

    void render_multi_pcm(const float* pcm, int channels) override {
        // Audacious calls this on its main thread, 512 frames at a time, timed to what is heard.
        player_.Ring().Push(pcm, audacious::kAudaciousBlockFrames, channels);
    }

  private:
    AudaciousPlayer player_;
    QPointer<audacious::ShowWidget> widget_;
};

// The one symbol Audacious looks for in a plug-in library.
__attribute__((visibility("default"))) TolvekVisualization aud_plugin_instance;
