// Hosting a visualization module the way the original media player does: one thread; each turn
// the messages, then (unless paused) the format, the sound being heard plus latencyMs and
// Render; the quit request ends it with Quit. Every host takes these turns: the desktop player
// and the offline renderer through Run, which repeats them; a widget's timer, the browser's frame
// callback or another program's tick one at a time. What differs between hosts is the client.
#pragma once

#include <optional>

#include "host/winamp_vis.h"
#include "hostkit/waveform.h"

namespace hostkit {

// What the module record says of the sound: sRate and nCh.
struct SoundFormat {
    int sampleRate = 44100;
    int channels = 2;  // the channel count of the sound handed over
};

// The sound for one Render.
struct HeardSound {
    SoundWindow waveform;  // the 576 frames waveformData shows
    // The frames the spectrum is computed from, where they are not the waveform's own (a host
    // whose sound arrives in blocks stretched to fill the 576).
    std::optional<SoundWindow> spectrum;
};

// What a host hands the loop. Call order, per turn: every pending message is dispatched, then
// Tick, then (unless Paused) Format and Sound, then Render; Run then calls Wait.
class HostClient {
  public:
    virtual ~HostClient() = default;
    // The current source's rate and channels (before Init and before every Render).
    virtual SoundFormat Format() = 0;
    // Keeps the sound going, shows the status; once per turn after the messages.
    virtual void Tick() {}
    // Paused, stopped, a message box open: the turn dispatches messages only.
    virtual bool Paused() = 0;
    // The sound for the coming frame: what is heard the module's latencyMs from now.
    virtual HeardSound Sound(const winampVisModule& module) = 0;
    // Between two turns of Run: the live player waits delayMs, an offline renderer does not.
    virtual void Wait(int delayMs) { (void)delayMs; }
};

enum class TurnResult {
    Rendered,  // Render was called
    Idle,      // paused: messages only
    Ended,     // the quit request came or Render failed (Quit was called), or it never started
};

enum class HostEnd {
    NotStarted,     // Init returned non-zero (Quit is not called)
    QuitRequest,    // the quit message arrived (window closed, Escape, Q)
    RenderStopped,  // Render returned non-zero
    StoppedByHost,  // the host called Stop
};

// Dispatches every pending message of the thread; true when the quit message was among them.
bool PumpMessages();

// A module asking for no wait (delayMs 0 or less) still gives the host's event loop a breath.
inline constexpr int kShortestDelayMs = 10;

class HostLoop {
  public:
    // `parent` is the host's window (hwndParent), `instance` the module's library.
    HostLoop(winampVisModule& module, HWND parent, HINSTANCE instance);
    ~HostLoop();
    HostLoop(const HostLoop&) = delete;
    HostLoop& operator=(const HostLoop&) = delete;

    // Fills the module record and calls Init (a quit request left from an earlier show is not
    // this one's); false when the module did not start. Does nothing while running.
    bool Start(HostClient& client);
    // One turn.
    TurnResult Turn(HostClient& client);
    // Turns, with the client's Wait between them, until the show ends.
    HostEnd Run(HostClient& client);
    // Start and Run.
    HostEnd Host(HostClient& client);
    // The host ends the show on its own: Quit, once, if running.
    void Stop();

    bool running() const { return running_; }
    HostEnd end() const { return end_; }
    // What the host waits between turns: the module's delayMs, or kShortestDelayMs for none.
    int delayMs() const;
    int framesRendered() const { return framesRendered_; }
    winampVisModule& module() const { return module_; }

  private:
    void End(HostEnd end);

    winampVisModule& module_;
    HWND parent_;
    HINSTANCE instance_;
    bool running_ = false;
    HostEnd end_ = HostEnd::NotStarted;
    int framesRendered_ = 0;
};

}  // namespace hostkit
