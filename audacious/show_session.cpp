// The hosted show: the module's parent window, its turns and its keys.
#include "audacious/show_session.h"

#include <memory>
#include <vector>

#include "hostkit/host_loop.h"
#include "platform/host_services.h"

namespace audacious {
namespace {

constexpr const char* kParentClass = "TolvekAudaciousHost";

BOOL CollectOwned(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(lParam);
    if (GetWindow(window, GW_OWNER) == found->first)
        found->second->push_back(window);
    return TRUE;
}

}  // namespace

ShowSession::ShowSession(CommandHandler onCommand, MessageHandler onMessage)
    : onCommand_(std::move(onCommand)), onMessage_(std::move(onMessage)) {
    // The show draws only into frames handed to the host's view: no window of its own opens.
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    capture_ = std::make_unique<hostkit::PresentedFrameCapture>();
    platform::SetMessageBoxObserver([this](const char* caption, const char* text) {
        if (onMessage_)
            onMessage_(caption != nullptr ? caption : "", text != nullptr ? text : "");
    });
    platform::SetDiagnosticObserver([this](const char* text) {
        std::string line = text != nullptr ? text : "";
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (onMessage_ && !line.empty())
            onMessage_("", line);
    });
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &ShowSession::ParentProc;
    windowClass.lpszClassName = kParentClass;
    RegisterClassA(&windowClass);
    parent_ = CreateWindowExA(0, kParentClass, "Audacious", 0, 0, 0, 320, 200, nullptr, nullptr,
                              nullptr, nullptr);
    SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ShowSession::~ShowSession() {
    Stop();
    SetWindowLongPtrA(parent_, GWLP_USERDATA, 0);
    DestroyWindow(parent_);
    UnregisterClassA(kParentClass, nullptr);
    platform::SetMessageBoxObserver(nullptr);
    platform::SetDiagnosticObserver(nullptr);
    capture_.reset();
}

bool ShowSession::Load(const std::string& pluginPath, std::string* error) {
    if (loaded() && pluginPath == pluginPath_)
        return true;
    Stop();
    if (!plugin_.Load(pluginPath, error))
        return false;
    pluginPath_ = pluginPath;
    return true;
}

int ShowSession::delayMs() const {
    const winampVisModule* module = plugin_.module();
    // A module asking for no wait still gets the message loop a breath between frames.
    return module != nullptr && module->delayMs > 0 ? module->delayMs : 10;
}

void ShowSession::FillFormat(const SoundFormat& format) {
    winampVisModule& module = *plugin_.module();
    module.sRate = format.sampleRate;
    module.nCh = format.channels;
}

bool ShowSession::Start(const SoundFormat& format, std::string* error) {
    if (running_)
        return true;
    if (!loaded()) {
        *error = "no plug-in loaded";
        return false;
    }
    winampVisModule& module = *plugin_.module();
    module.hwndParent = parent_;
    module.hDllInstance = plugin_.instance();
    FillFormat(format);
    // A quit request left from an earlier show is not this one's.
    hostkit::PumpMessages();
    if (module.Init(&module) != 0) {
        *error = pluginPath_ + ": the plug-in did not start (Init failed)";
        hostkit::PumpMessages();
        return false;
    }
    running_ = true;
    return true;
}

TurnResult ShowSession::Turn(bool playing, const SoundFormat& format,
                             const hostkit::SoundWindow& sound) {
    if (!running_)
        return TurnResult::Ended;
    if (hostkit::PumpMessages()) {
        Stop();
        return TurnResult::Ended;
    }
    if (!playing)
        return TurnResult::Idle;
    winampVisModule& module = *plugin_.module();
    FillFormat(format);
    hostkit::FillWaveform(sound, module);
    if (module.spectrumNch > 0)
        hostkit::FillSpectrum(sound, module);
    ++framesRendered_;
    if (module.Render(&module) != 0) {
        Stop();
        return TurnResult::Ended;
    }
    return TurnResult::Rendered;
}

void ShowSession::Stop() {
    if (!running_)
        return;
    running_ = false;
    winampVisModule& module = *plugin_.module();
    module.Quit(&module);
    // Quit closes the module's window, whose destruction asks to quit once more: that request
    // belongs to this show.
    hostkit::PumpMessages();
}

void ShowSession::SendKey(WPARAM virtualKey, bool down, bool repeat) {
    if (!running_)
        return;
    std::vector<HWND> owned;
    std::pair<HWND, std::vector<HWND>*> search{parent_, &owned};
    EnumWindows(&CollectOwned, reinterpret_cast<LPARAM>(&search));
    LPARAM lParam = 1;
    if (!down)
        lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    else if (repeat)
        lParam |= LPARAM{1} << 30;
    for (HWND window : owned)
        PostMessageA(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam);
}

LRESULT ShowSession::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ShowSession*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != WM_KEYDOWN || self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const std::optional<player::PlayerCommand> command = player::CommandForKey(wParam);
    if (!command)
        return 0;
    // A held key repeats: seeking and volume follow it, the other controls act once.
    const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
    const bool repeatable = *command == player::PlayerCommand::SeekBack ||
                            *command == player::PlayerCommand::SeekForward ||
                            *command == player::PlayerCommand::VolumeUp ||
                            *command == player::PlayerCommand::VolumeDown;
    if (repeat && !repeatable)
        return 0;
    if (self->onCommand_)
        self->onCommand_(*command);
    return 0;
}

}  // namespace audacious
