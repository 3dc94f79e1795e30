// A thread that keeps an unattended run from hanging: it answers every message box the show
// thread opens (a display error report would otherwise wait for a person forever), writing its
// caption and text to the log, and ends the process when the whole run takes too long.
#pragma once

#include "tools/winhost/host_log.h"

namespace winhost {

inline constexpr int kExitTimedOut = 5;

class Watchdog {
  public:
    Watchdog(HostLog& log, DWORD showThread, int timeoutSeconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // How many message boxes were answered so far.
    LONG messageBoxes() const { return messageBoxes_; }

  private:
    static DWORD WINAPI Run(LPVOID self);
    static BOOL CALLBACK CheckWindow(HWND window, LPARAM self);
    void Answer(HWND box);

    HostLog& log_;
    DWORD showThread_;
    DWORD deadline_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile LONG messageBoxes_ = 0;
};

}  // namespace winhost
