// Who holds the one show, and its end when the holder goes.
#include "obs/show_slot.h"

#include <obs-module.h>

#include <memory>
#include <mutex>

namespace tolvek_obs {
namespace {

struct SlotState {
    std::mutex mutex;  // holder and abandoned: sources go on OBS's destruction thread
    ShowSlot::Holder holder = nullptr;
    std::string holderName;
    bool abandoned = false;
    // Only on the video thread (or at unload, once that thread has ended).
    std::unique_ptr<HostedShow> show;
    std::vector<std::string> said;
};

SlotState& State() {
    static SlotState state;
    return state;
}

}  // namespace

void LogInfo(const std::string& line) {
    blog(LOG_INFO, "[quenari-tolvek] %s", line.c_str());
}

void LogWarning(const std::string& line) {
    blog(LOG_WARNING, "[quenari-tolvek] %s", line.c_str());
}

HostedShow& ShowSlot::Show() {
    SlotState& state = State();
    if (state.show == nullptr) {
        state.show = std::make_unique<HostedShow>([&state](const std::string& line) {
            LogWarning("the plug-in says: " + line);
            // A few lines say what is wrong; a whole missing folder would fill the frame.
            constexpr std::size_t kMaxLines = 6;
            if (state.said.size() < kMaxLines)
                state.said.push_back(line);
            else if (state.said.size() == kMaxLines)
                state.said.push_back("...");
        });
    }
    return *state.show;
}

bool ShowSlot::Take(Holder source, const std::string& name) {
    SlotState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.holder == nullptr && !state.abandoned) {
        state.holder = source;
    }
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
}

void ShowSlot::StopShow(const std::string& why) {
    SlotState& state = State();
    if (state.show == nullptr || !state.show->running())
        return;
    const int frames = state.show->framesRendered();
    state.show->Stop();
    // What the show leaves behind: only the host's own window.
    LogInfo("Quit (" + why + ") after " + std::to_string(frames) + " frames; windows " +
            std::to_string(HostedShow::WindowsAlive()) + ", display objects " +
            std::to_string(HostedShow::DisplayObjectsAlive()));
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
}

}  // namespace tolvek_obs
