// The show hosted one turn at a time inside OBS's video thread, through the host kit: the plug-in
// loaded by its one exported symbol, Init with the host's window and the sound's format, each
// turn's messages, waveform and Render, Quit; the frame it presented and what it said. Nothing
// here knows OBS. This is the one file to change when the kit offers an embedded show.
//
// Call order: Load, Start, Turn..., Stop; all on one thread (the platform layer is not shared
// between threads). The platform layer and the plug-in are one instance per process, so there is
// at most one HostedShow at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/winamp_vis.h"
#include "hostkit/plugin_library.h"
#include "hostkit/presented_frame.h"
#include "hostkit/waveform.h"

namespace tolvek_obs {

struct SoundFormat {
    int sampleRate = 48000;
    int channels = 2;
};

enum class TurnResult {
    Rendered,  // Render was called
    Ended,     // the show asked to end (its window closed) or Render failed; Quit was called
};

class HostedShow {
  public:
    // What the plug-in says to its user: message boxes ("caption: text") and debugger-channel
    // lines, such as a data file it could not read.
    using NoticeHandler = std::function<void(const std::string& line)>;

    explicit HostedShow(NoticeHandler onNotice);
    ~HostedShow();
    HostedShow(const HostedShow&) = delete;
    HostedShow& operator=(const HostedShow&) = delete;

    // Loads the plug-in library (a later call with the same path does nothing). False with a
    // one-line `error` naming the file when it is missing or speaks another interface.
    bool Load(const std::string& pluginPath, std::string* error);
    // The calendar time the show seeds from, fixed from the next Start on; none: the real one.
    void FixClock(bool fixed, long long seconds);
    // Fills the module record and calls Init; false (and `error`) when it did not start.
    bool Start(const SoundFormat& format, std::string* error);
    // Pending messages, then the format, the waveform (and spectrum when asked for) and Render.
    TurnResult Turn(const SoundFormat& format, const hostkit::SoundWindow& sound);
    // Quit, once, if running.
    void Stop();

    bool running() const { return running_; }
    const std::string& pluginPath() const { return pluginPath_; }
    int delayMs() const;
    int latencyMs() const;
    int framesRendered() const { return framesRendered_; }
    const hostkit::RenderedFrame& frame() const { return capture_->latest(); }
    int presentCount() const { return capture_->presentCount(); }
    // Windows and display objects alive in the platform layer, for the record of a stop.
    static int WindowsAlive();
    static int DisplayObjectsAlive();

  private:
    NoticeHandler onNotice_;
    hostkit::PluginLibrary plugin_;
    std::string pluginPath_;
    HWND parent_ = nullptr;
    std::unique_ptr<hostkit::PresentedFrameCapture> capture_;
    bool running_ = false;
    int framesRendered_ = 0;
};

}  // namespace tolvek_obs
