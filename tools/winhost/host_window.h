// The test host's own window: the module's hwndParent. It stays hidden until the module's Quit
// shows it again, and writes every key the show window forwards to it into the log.
#pragma once

#include "tools/winhost/host_log.h"

namespace winhost {

class HostWindow {
  public:
    explicit HostWindow(HostLog& log);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    int keysForwarded() const { return keysForwarded_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HostLog& log_;
    HWND window_ = nullptr;
    int keysForwarded_ = 0;
};

}  // namespace winhost
