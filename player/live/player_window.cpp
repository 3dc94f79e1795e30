// The hidden player window and the key map.
#include "player/live/player_window.h"

#include <vector>

#include "platform/host_services.h"

namespace player {
namespace {

constexpr const char* kClassName = "TolvekPlayer";

BOOL CollectOwned(HWND window, LPARAM lParam) {
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
        DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    return paths;
}

}  // namespace

std::optional<PlayerCommand> CommandForKey(WPARAM virtualKey) {
    switch (virtualKey) {
        case 'X':
            return PlayerCommand::Play;
        case 'C':
        case VK_SPACE:
            return PlayerCommand::Pause;
        case 'V':
            return PlayerCommand::Stop;
        case 'Z':
            return PlayerCommand::Previous;
        case 'B':
            return PlayerCommand::Next;
        case VK_LEFT:
            return PlayerCommand::SeekBack;
        case VK_RIGHT:
            return PlayerCommand::SeekForward;
        case VK_UP:
            return PlayerCommand::VolumeUp;
        case VK_DOWN:
            return PlayerCommand::VolumeDown;
        case 'F':
            return PlayerCommand::ToggleFullScreen;
        case 'S':
            return PlayerCommand::ToggleShuffle;
        case 'R':
            return PlayerCommand::ToggleRepeat;
        case 'P':
            return PlayerCommand::SaveFrame;
        case 'Q':
            return PlayerCommand::Quit;
        default:
            return std::nullopt;
    }
}

PlayerWindow::PlayerWindow(PlayerControls& controls) : controls_(controls) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &PlayerWindow::WindowProc;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    // Not visible: the terminal shows the player's state, the module shows the picture.
    window_ = CreateWindowExA(0, kClassName, "Quenari Tolvek player", 0, CW_USEDEFAULT,
                              CW_USEDEFAULT, 320, 200, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The show's window passes files dropped on it on to its owner, this window.
    DragAcceptFiles(window_, TRUE);
}

PlayerWindow::~PlayerWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    UnregisterClassA(kClassName, nullptr);
}

std::vector<HWND> PlayerWindow::OwnedWindows() const {
    std::vector<HWND> owned;
    std::pair<HWND, std::vector<HWND>*> search{window_, &owned};
    EnumWindows(&CollectOwned, reinterpret_cast<LPARAM>(&search));
    return owned;
}

void PlayerWindow::ToggleFullScreen() {
    for (HWND window : OwnedWindows())
        platform::ToggleFullScreen(window);
}

void PlayerWindow::SetTitle(const std::string& title) {
    for (HWND window : OwnedWindows())
        SetWindowTextA(window, title.c_str());
}

LRESULT PlayerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_DROPFILES && self != nullptr) {
        self->controls_.Drop(DroppedPaths(reinterpret_cast<HDROP>(wParam)));
        return 0;
    }
    if (message != WM_KEYDOWN || self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    std::optional<PlayerCommand> command = CommandForKey(wParam);
    if (!command)
        return 0;
    // A held key repeats: seeking and volume follow it, the other controls act once.
    const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
    const bool repeatable =
        *command == PlayerCommand::SeekBack || *command == PlayerCommand::SeekForward ||
        *command == PlayerCommand::VolumeUp || *command == PlayerCommand::VolumeDown;
    if (repeat && !repeatable)
        return 0;
    if (*command == PlayerCommand::Quit) {
        PostQuitMessage(0);
    } else if (*command == PlayerCommand::ToggleFullScreen) {
        self->ToggleFullScreen();
    } else {
        self->controls_.Act(*command);
    }
    return 0;
}

}  // namespace player
