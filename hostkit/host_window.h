// The host's own window in the window layer: the module's hwndParent. It stays hidden, receives
// the keys the module forwards and the files dropped on the show, and knows the windows the
// module opened (those it owns).
#pragma once

#include <string>
#include <vector>

#include "hostkit/commands.h"
#include "platform/win32.h"

namespace hostkit {

// What a host does with its commands.
class HostControls {
  public:
    virtual ~HostControls() = default;
    // Every command but Quit and ToggleFullScreen, unless the host takes those too (below).
    virtual void Act(PlayerCommand command) = 0;
    // Files and folders dropped on the show.
    virtual void Drop(const std::vector<std::string>& paths) { (void)paths; }
    // False: Quit asks the thread to quit and ToggleFullScreen switches the show's own windows,
    // as in the desktop player. True for a host whose show draws into a view of the host's.
    virtual bool TakesWindowCommands() const { return false; }
};

class HostWindow {
  public:
    // `className` must be unique among the windows a process opens at one time.
    explicit HostWindow(const char* className = "TolvekHost", const char* title = "Quenari Tolvek");
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Where commands and drops go; null ignores them.
    void SetControls(HostControls* controls) { controls_ = controls; }
    HWND handle() const { return window_; }

    // The windows the module opened: those this one owns.
    std::vector<HWND> ShowWindows() const;
    // Switches them between full screen and a window.
    void ToggleFullScreen();
    // Their caption.
    void SetTitle(const std::string& title);
    // A key pressed in the host's own view, delivered to them as the system would deliver it to
    // the focused show window.
    void SendKey(WPARAM virtualKey, bool down, bool repeat);

  private:
    void Command(PlayerCommand command);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string className_;
    HostControls* controls_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace hostkit
