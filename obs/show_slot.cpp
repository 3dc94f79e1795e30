// Who holds the one show, and its end when the holder goes.
#include "obs/show_slot.h"

#include <obs-module.h>

#include <memory>
#include <mutex>
#include <vector>

#include "obs/media_controls.h"

namespace tolvek_obs {
namespace {

struct SlotState {
    std::mutex mutex;  // holder and abandoned: sources go on OBS's destruction thread
    ShowSlot::Holder holder = nullptr;
    std::string holderName;
    bool abandoned = false;
    // Only on the video thread (or at unload, once that thread has ended).
    std::unique_ptr<MediaControls> controls;
    std::unique_ptr<hostkit::EmbeddedShow> show;
    std::vector<std::string> said;
    int framesBefore = 0;  // the loop's count when the show last started
};

SlotState& State() {
    static SlotState state;
    return state;
}

void Remember(SlotState& state, const std::string& caption, const std::string& text) {
    const std::string line = caption.empty() ? text : caption + ": " + text;
    LogWarning("the plug-in says: " + line);
    // A few lines say what is wrong; a whole missing folder would fill the frame.
    constexpr std::size_t kMaxLines = 6;
    if (state.said.size() < kMaxLines)
        state.said.push_back(line);
    else if (state.said.size() == kMaxLines)
        state.said.push_back("...");
}

}  // namespace

void LogInfo(const std::string& line) {
    blog(LOG_INFO, "[quenari-tolvek] %s", line.c_str());
}

void LogWarning(const std::string& line) {
    blog(LOG_WARNING, "[quenari-tolvek] %s", line.c_str());
}

hostkit::EmbeddedShow& ShowSlot::Show() {
    SlotState& state = State();
    if (state.show == nullptr) {
        state.controls = std::make_unique<MediaControls>(
            [&state]() -> const hostkit::RenderedFrame& { return state.show->frame(); });
        state.show = std::make_unique<hostkit::EmbeddedShow>(
            state.controls.get(), [&state](const std::string& caption, const std::string& text) {
                Remember(state, caption, text);
            });
    }
    return *state.show;
}

void ShowSlot::AimCommands(obs_source_t* listened) {
    Show();
    State().controls->Aim(listened);
}

bool ShowSlot::Take(Holder source, const std::string& name) {
    SlotState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.holder == nullptr && !state.abandoned)
        state.holder = source;
    if (state.holder != source)
        return false;
    state.holderName = name;
    return true;
}

bool ShowSlot::Holds(Holder source) {
    SlotState& state = State();
    std::lock_guard lock(state.mutex);
    return state.holder == source;
}

std::string ShowSlot::HolderName() {
    SlotState& state = State();
    std::lock_guard lock(state.mutex);
    return state.holderName;
}

std::string ShowSlot::Said() {
    std::string text;
    for (const std::string& line : State().said)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

void ShowSlot::ForgetSaid() {
    State().said.clear();
}

void ShowSlot::Started() {
    SlotState& state = State();
    state.framesBefore = state.show ? state.show->framesRendered() : 0;
}

int ShowSlot::FramesThisShow() {
    SlotState& state = State();
    return state.show ? state.show->framesRendered() - state.framesBefore : 0;
}

void ShowSlot::GiveUp(Holder source) {
    SlotState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.holder != source)
        return;
    state.holder = nullptr;
    state.holderName.clear();
    state.abandoned = true;
}

void ShowSlot::Tick() {
    SlotState& state = State();
    {
        std::lock_guard lock(state.mutex);
        if (!state.abandoned)
            return;
        state.abandoned = false;
    }
    StopShow("its source was removed");
    if (state.controls)
        state.controls->Aim(nullptr);
}

void ShowSlot::StopShow(const std::string& why) {
    SlotState& state = State();
    if (state.show == nullptr || !state.show->running())
        return;
    const int frames = FramesThisShow();
    state.show->Stop();
    // What the show leaves behind: only the host's own window.
    LogInfo("Quit (" + why + ") after " + std::to_string(frames) + " frames; windows " +
            std::to_string(platform::CountWindows()) + ", display objects " +
            std::to_string(platform::CountDisplayObjects()));
}

void ShowSlot::Shutdown() {
    SlotState& state = State();
    {
        std::lock_guard lock(state.mutex);
        state.holder = nullptr;
        state.abandoned = false;
    }
    StopShow("OBS is quitting");
    state.show.reset();
    state.controls.reset();
}

}  // namespace tolvek_obs
