// The player's own window in the window layer: the module's hwndParent. It stays hidden and
// receives the keys the module forwards, which are the player's controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace player {

enum class PlayerCommand {
    Play,
    Pause,
    Stop,
    Previous,
    Next,
    SeekBack,
    SeekForward,
    VolumeUp,
    VolumeDown,
    ToggleFullScreen,
    ToggleShuffle,
    ToggleRepeat,
    SaveFrame,
    Quit,
};

// X play, C or Space pause, V stop, Z/B previous/next, Left/Right seek, Up/Down volume,
// S shuffle, R repeat, P save the frame, F full screen, Q quit.
std::optional<PlayerCommand> CommandForKey(WPARAM virtualKey);

class PlayerControls {
  public:
    virtual ~PlayerControls() = default;
    virtual void Act(PlayerCommand command) = 0;
    // Files and folders dropped on the show.
    virtual void Drop(const std::vector<std::string>& /*paths*/) {}
};

class PlayerWindow {
  public:
    // Quit and full-screen toggling are handled here; every other command goes to `controls`.
    explicit PlayerWindow(PlayerControls& controls);
    ~PlayerWindow();
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    HWND handle() const { return window_; }
    // Switches every window the module opened (those owned by this one) between full screen
    // and a window.
    void ToggleFullScreen();
    // The caption of every window the module opened.
    void SetTitle(const std::string& title);

  private:
    std::vector<HWND> OwnedWindows() const;
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    PlayerControls& controls_;
    HWND window_ = nullptr;
};

}  // namespace player
