// Hosting a visualization module the way the original media player does: one thread, messages,
// sound, Render, wait. The live player and the offline renderer differ only in their client.
#pragma once

#include "host/winamp_vis.h"

namespace hostkit {

// What the loop asks of whoever supplies sound and time. Call order, per turn: every pending
// message is dispatched, then Tick, then (unless Paused) FillSound and Render, then Wait.
class HostClient {
  public:
    virtual ~HostClient() = default;
    // sRate and nCh of the current source (before Init and before every Render).
    virtual void FillFormat(winampVisModule& module) = 0;
    // Keeps the sound going, shows the status; once per turn after the messages.
    virtual void Tick() {}
    virtual bool Paused() = 0;
    // waveformData (and spectrumData when spectrumNch > 0) for the coming frame.
    virtual void FillSound(winampVisModule& module) = 0;
    // After each Render: the live player waits delayMs, an offline renderer does not.
    virtual void Wait(int delayMs) = 0;
};

enum class HostEnd {
    NotStarted,    // Init returned non-zero (Quit is not called)
    QuitRequest,   // the quit message arrived (window closed, Escape, Q)
    RenderStopped  // Render returned non-zero
};

// Dispatches every pending message of the thread; true when the quit message was among them.
// Hosts that take the loop's turns one at a time (a Qt timer, the browser's frames) pump with it.
bool PumpMessages();

class HostLoop {
  public:
    // `parent` is the host's window (hwndParent), `instance` the module's library.
    HostLoop(winampVisModule& module, HWND parent, HINSTANCE instance);

    // Fills the module record and calls Init; false when the module did not start.
    bool Start(HostClient& client);
    // Runs until the quit message or a non-zero Render, then calls Quit once.
    HostEnd Run(HostClient& client);
    // Start and Run.
    HostEnd Host(HostClient& client);

    int framesRendered() const { return framesRendered_; }

  private:
    void End();

    winampVisModule& module_;
    HWND parent_;
    HINSTANCE instance_;
    bool running_ = false;
    int framesRendered_ = 0;
};

}  // namespace hostkit
