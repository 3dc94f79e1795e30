// The hidden host window: keys to commands, drops, the show's windows.
#include "hostkit/host_window.h"

#include "platform/host_services.h"

namespace hostkit {
namespace {

BOOL CALLBACK CollectOwned(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(lParam);
    if (GetWindow(window, GW_OWNER) == found->first)
        found->second->push_back(window);
    return TRUE;
}

// The dropped paths, in the order they came.
std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string path(DragQueryFileA(drop, i, nullptr, 0), '\0');
        path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size() + 1)));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    return paths;
}

}  // namespace

HostWindow::HostWindow(const char* className, const char* title) : className_(className) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HostWindow::WindowProc;
    windowClass.lpszClassName = className_.c_str();
    RegisterClassA(&windowClass);
    // Never shown: the module shows the picture, the host its own state.
    window_ = CreateWindowExA(0, className_.c_str(), title, 0, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                              200, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The show's window passes files dropped on it on to its owner, this window.
    DragAcceptFiles(window_, TRUE);
}

HostWindow::~HostWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    UnregisterClassA(className_.c_str(), nullptr);
}

std::vector<HWND> HostWindow::ShowWindows() const {
    std::vector<HWND> owned;
    std::pair<HWND, std::vector<HWND>*> search{window_, &owned};
    EnumWindows(&CollectOwned, reinterpret_cast<LPARAM>(&search));
    return owned;
}

void HostWindow::ToggleFullScreen() {
    for (HWND window : ShowWindows())
        platform::ToggleFullScreen(window);
}

void HostWindow::SetTitle(const std::string& title) {
    for (HWND window : ShowWindows())
        SetWindowTextA(window, title.c_str());
}

void HostWindow::SendKey(WPARAM virtualKey, bool down, bool repeat) {
    // Repeat count 1; bit 30 the key was down before, bit 31 it is being released.
    LPARAM lParam = 1;
    if (!down)
        lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    else if (repeat)
        lParam |= LPARAM{1} << 30;
    for (HWND window : ShowWindows())
        PostMessageA(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam);
}

void HostWindow::Command(PlayerCommand command) {
    const bool windowCommand =
        command == PlayerCommand::Quit || command == PlayerCommand::ToggleFullScreen;
    if (windowCommand && (controls_ == nullptr || !controls_->TakesWindowCommands())) {
        if (command == PlayerCommand::Quit)
            PostQuitMessage(0);
        else
            ToggleFullScreen();
        return;
    }
    if (controls_ != nullptr)
        controls_->Act(command);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_DROPFILES) {
        std::vector<std::string> paths = DroppedPaths(reinterpret_cast<HDROP>(wParam));
        if (self->controls_ != nullptr)
            self->controls_->Drop(paths);
        return 0;
    }
    if (message != WM_KEYDOWN)
        return DefWindowProcA(window, message, wParam, lParam);
    const std::optional<PlayerCommand> command = CommandForKey(wParam);
    if (!command)
        return 0;
    const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
    if (repeat && !CommandRepeats(*command))
        return 0;
    self->Command(*command);
    return 0;
}

}  // namespace hostkit
