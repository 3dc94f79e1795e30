// The source: its settings, the sound it listens to, the show's turns on OBS's video tick, and
// its frame.
#include "obs/tolvek_source.h"

#include <dlfcn.h>
#include <graphics/vec4.h>
#include <obs-module.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "obs/media_controls.h"
#include "obs/show_slot.h"
#include "obs/trace_log.h"
#include "platform/host_services.h"

namespace tolvek_obs {
namespace {

constexpr uint32_t kFrameWidth = 640;
constexpr uint32_t kFrameHeight = 480;
// How often a missing or vanished audio source is looked for again.
constexpr float kListenCheckSeconds = 1.0f;
// After a stall (or a long wait) the show goes on at its pace rather than catching up.
constexpr int kMostTurnsPerTick = 4;

SourceSettings Read(obs_data_t* settings) {
    SourceSettings read;
    read.audioSource = obs_data_get_string(settings, "audio_source");
    read.pluginPath = obs_data_get_string(settings, "plugin_path");
    read.fixedClock = obs_data_get_bool(settings, "fixed_clock");
    read.clockSeconds = obs_data_get_int(settings, "clock_seconds");
    return read;
}

std::string ListenedLabel(const std::string& name) {
    return name.empty() ? "the desktop audio" : "'" + name + "'";
}

std::string ResolvedPluginPath(const SourceSettings& settings) {
    if (!settings.pluginPath.empty())
        return settings.pluginPath;
    if (const char* env = std::getenv("TOLVEK_PLUGIN"); env != nullptr && *env != '\0')
        return env;
    return TolvekSource::DefaultPluginPath();
}

int WaveformPeak(const winampVisModule& module) {
    int peak = 0;
    for (int i = 0; i < kWaveformSamples; ++i)
        peak = std::max(
            peak, std::abs(static_cast<int>(static_cast<signed char>(module.waveformData[0][i]))));
    return peak;
}

std::uint64_t ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000ull +
           static_cast<std::uint64_t>(now.tv_nsec);
}

}  // namespace

std::string TolvekSource::DefaultPluginPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&TolvekSource::DefaultPluginPath), &info) == 0 ||
        info.dli_fname == nullptr)
        return TOLVEK_OBS_VIS_RELATIVE_PATH;
    const std::filesystem::path self = std::filesystem::path(info.dli_fname).parent_path();
    return (self / TOLVEK_OBS_VIS_RELATIVE_PATH).lexically_normal().string();
}

TolvekSource::TolvekSource(obs_data_t* settings, obs_source_t* source) : source_(source) {
    Update(settings);
}

TolvekSource::~TolvekSource() {
    StopListening();
    ShowSlot::GiveUp(this);
    obs_enter_graphics();
    texture_.Release();
    obs_leave_graphics();
    LogInfo("source '" + Name() + "' removed");
}

std::string TolvekSource::Name() const {
    const char* name = obs_source_get_name(source_);
    return name != nullptr ? name : "";
}

void TolvekSource::Update(obs_data_t* settings) {
    std::lock_guard lock(settingsMutex_);
    settings_ = Read(settings);
    ++settingsVersion_;
}

void TolvekSource::Shown() {
    shown_ = true;
    // A show that failed or ended is tried again each time the source is shown.
    startFailed_ = false;
    ended_ = false;
    LogInfo("source '" + Name() + "' shown");
}

void TolvekSource::Hidden() {
    shown_ = false;
    if (ShowSlot::Holds(this) && ShowSlot::Show().running())
        LogInfo("source '" + Name() + "' hidden: the show rests after " +
                std::to_string(ShowSlot::FramesThisShow()) + " frames");
}

void TolvekSource::KeyClicked(const obs_key_event& event, bool up) {
    const WPARAM key = VirtualKeyOf(event.native_vkey);
    if (key == 0)
        return;
    std::lock_guard lock(keysMutex_);
    keys_.emplace_back(key, !up);
}

void TolvekSource::Captured(void* param, obs_source_t*, const audio_data* audio, bool muted) {
    if (audio != nullptr)
        static_cast<TolvekSource*>(param)->sound_.Push(*audio, muted);
}

void TolvekSource::Listen(const std::string& name) {
    StopListening();
    obs_source_t* target =
        name.empty() ? obs_get_output_source(1) : obs_get_source_by_name(name.c_str());
    if (target == nullptr)
        return;
    if (target == source_ || (obs_source_get_output_flags(target) & OBS_SOURCE_AUDIO) == 0) {
        LogWarning("source '" + Name() + "': " + ListenedLabel(name) +
                   " has no sound to listen to");
        obs_source_release(target);
        return;
    }
    obs_audio_info info{};
    if (obs_get_audio_info(&info)) {
        sound_.SetFormat(static_cast<int>(info.samples_per_sec),
                         static_cast<int>(get_audio_channels(info.speakers)));
    }
    sound_.Clear();
    listened_ = obs_source_get_weak_source(target);
    listenedRaw_ = target;
    obs_source_add_audio_capture_callback(target, &TolvekSource::Captured, this);
    Trace("listen %s", obs_source_get_name(target));
    LogInfo("source '" + Name() + "' listens to " + ListenedLabel(name) + " ('" +
            obs_source_get_name(target) + "')");
    obs_source_release(target);
}

void TolvekSource::StopListening() {
    if (listened_ == nullptr)
        return;
    // Once this returns, no capture callback of ours is running (OBS holds its lock around them).
    if (obs_source_t* target = obs_weak_source_get_source(listened_)) {
        obs_source_remove_audio_capture_callback(target, &TolvekSource::Captured, this);
        obs_source_release(target);
    }
    obs_weak_source_release(listened_);
    listened_ = nullptr;
    listenedRaw_ = nullptr;
    sound_.Clear();
}

void TolvekSource::CheckListening(float seconds) {
    sinceListenCheck_ += seconds;
    if (sinceListenCheck_ < kListenCheckSeconds)
        return;
    sinceListenCheck_ = 0;
    // The desktop audio may be made anew (another device), a named source may come later.
    const bool gone = listened_ == nullptr || obs_weak_source_expired(listened_);
    obs_source_t* desktop = applied_.audioSource.empty() ? obs_get_output_source(1) : nullptr;
    if (gone || (desktop != nullptr && desktop != listenedRaw_))
        Listen(applied_.audioSource);
    obs_source_release(desktop);
}

void TolvekSource::ApplySettings() {
    SourceSettings wanted;
    int version = 0;
    {
        std::lock_guard lock(settingsMutex_);
        wanted = settings_;
        version = settingsVersion_;
    }
    if (version == appliedVersion_)
        return;
    const bool first = appliedVersion_ < 0;
    const bool showChanged = wanted.pluginPath != applied_.pluginPath ||
                             wanted.fixedClock != applied_.fixedClock ||
                             wanted.clockSeconds != applied_.clockSeconds;
    const bool soundChanged = wanted.audioSource != applied_.audioSource;
    applied_ = wanted;
    appliedVersion_ = version;
    if (first || soundChanged)
        Listen(applied_.audioSource);
    if (!first && showChanged) {
        startFailed_ = false;
        ended_ = false;
        if (ShowSlot::Holds(this))
            ShowSlot::StopShow("the source's settings changed");
    }
}

bool TolvekSource::StartShow() {
    hostkit::EmbeddedShow& show = ShowSlot::Show();
    const std::string path = ResolvedPluginPath(applied_);
    std::string error;
    platform::FixCalendarTime(
        applied_.fixedClock ? std::optional<std::int64_t>(applied_.clockSeconds) : std::nullopt);
    ShowSlot::ForgetSaid();
    if (!show.Load(path, &error) || !show.Start(sound_, &error)) {
        LogWarning("source '" + Name() + "': " + error);
        const std::string said = ShowSlot::Said();
        SetNotice("Quenari Tolvek cannot start.\n" + error + (said.empty() ? "" : "\n" + said),
                  false);
        return false;
    }
    ShowSlot::Started();
    std::string clock =
        applied_.fixedClock ? ", clock fixed at " + std::to_string(applied_.clockSeconds) : "";
    LogInfo("Init: source '" + Name() + "' started the show from " + path + ", a frame every " +
            std::to_string(show.delayMs()) + " ms, listening to " +
            ListenedLabel(applied_.audioSource) + clock);
    dueMs_ = show.delayMs();  // the first frame at once
    uploadedPresent_ = -1;
    return true;
}

void TolvekSource::SendKeys() {
    std::vector<std::pair<WPARAM, bool>> keys;
    {
        std::lock_guard lock(keysMutex_);
        keys.swap(keys_);
    }
    hostkit::EmbeddedShow& show = ShowSlot::Show();
    for (const auto& [key, down] : keys) {
        // OBS says nothing of a key held down: a second press before its release repeats.
        const auto held = std::find(keysDown_.begin(), keysDown_.end(), key);
        const bool repeat = down && held != keysDown_.end();
        if (down && !repeat)
            keysDown_.push_back(key);
        else if (!down && held != keysDown_.end())
            keysDown_.erase(held);
        show.SendKey(key, down, repeat);
    }
}

void TolvekSource::RunTurns(float seconds) {
    hostkit::EmbeddedShow& show = ShowSlot::Show();
    const int delayMs = show.delayMs();
    dueMs_ += static_cast<double>(seconds) * 1000.0;
    if (dueMs_ > kMostTurnsPerTick * delayMs)
        dueMs_ = delayMs;
    const int turns = static_cast<int>(dueMs_ / delayMs);
    dueMs_ -= turns * delayMs;
    const std::uint64_t frameNs = obs_get_video_frame_time();
    for (int turn = 0; turn < turns && show.running(); ++turn) {
        const hostkit::TurnResult result = show.Turn(sound_);
        if (result == hostkit::TurnResult::Ended) {
            ended_ = true;
            LogInfo("Quit: the show ended itself after " +
                    std::to_string(ShowSlot::FramesThisShow()) +
                    " frames (its window closed or Render failed)");
            break;
        }
        // The frame's video time, the moment the plug-in asked to hear (latencyMs later) and the
        // one it was handed, for the measurements.
        Trace("frame %d t %llu start %llu heard %llu peak %d present %d",
              ShowSlot::FramesThisShow(), static_cast<unsigned long long>(frameNs),
              static_cast<unsigned long long>(frameNs + show.module().latencyMs * 1'000'000ull),
              static_cast<unsigned long long>(sound_.lastHeardNs()), WaveformPeak(show.module()),
              show.presentCount());
    }
}

void TolvekSource::Tick(float seconds) {
    if (!Tracing()) {
        TickShow(seconds);
        return;
    }
    // The measurements want this source's own cost on OBS's video thread, in CPU time.
    const std::uint64_t begun = ThreadCpuNs();
    TickShow(seconds);
    Trace("tick cpu %llu", static_cast<unsigned long long>(ThreadCpuNs() - begun));
}

void TolvekSource::TickShow(float seconds) {
    ApplySettings();
    CheckListening(seconds);
    if (!shown_)
        return;  // the show rests
    if (!ShowSlot::Take(this, Name())) {
        SetNotice("Another Quenari Tolvek source, '" + ShowSlot::HolderName() +
                      "', is running the show. OBS holds one show at a time: the plug-in and "
                      "its platform layer are one instance per process. This source takes the "
                      "show over when that one is removed.",
                  false);
        return;
    }
    hostkit::EmbeddedShow& show = ShowSlot::Show();
    if (!show.running()) {
        if (startFailed_ || ended_)
            return;
        if (!StartShow()) {
            startFailed_ = true;
            return;
        }
    }
    obs_source_t* listened = listened_ != nullptr ? obs_weak_source_get_source(listened_) : nullptr;
    ShowSlot::AimCommands(listened);
    obs_source_release(listened);
    SendKeys();
    RunTurns(seconds);
    const bool fresh = show.presentCount() != uploadedPresent_;
    obs_enter_graphics();
    if (fresh) {
        texture_.Upload(show.frame());
        uploadedPresent_ = show.presentCount();
    }
    drawShow_ = true;
    const std::string said = ShowSlot::Said();
    const std::string ended =
        "The show has ended. Hide the source and show it again to start it anew.";
    notice_.Set(ended_ ? ended + (said.empty() ? "" : "\n" + said) : said);
    obs_leave_graphics();
}

void TolvekSource::SetNotice(const std::string& text, bool drawShow) {
    obs_enter_graphics();
    if (text != notice_.text() || drawShow != drawShow_)
        LogWarning("source '" + Name() + "' shows: " + text);
    notice_.Set(text);
    drawShow_ = drawShow;
    obs_leave_graphics();
}

uint32_t TolvekSource::Width() const {
    return texture_.width() > 0 ? static_cast<uint32_t>(texture_.width()) : kFrameWidth;
}

uint32_t TolvekSource::Height() const {
    return texture_.height() > 0 ? static_cast<uint32_t>(texture_.height()) : kFrameHeight;
}

void TolvekSource::Render() {
    const int width = static_cast<int>(Width());
    const int height = static_cast<int>(Height());
    if (!drawShow_ || !texture_.Draw()) {
        gs_effect_t* solid = obs_get_base_effect(OBS_EFFECT_SOLID);
        vec4 black;
        vec4_from_rgba(&black, 0xFF000000);
        gs_effect_set_vec4(gs_effect_get_param_by_name(solid, "color"), &black);
        while (gs_effect_loop(solid, "Solid"))
            gs_draw_sprite(nullptr, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    }
    notice_.Render(width, height);
}

}  // namespace tolvek_obs
