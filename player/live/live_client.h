// The live player's side of the host loop: sound from the playback, the capture or silence,
// waiting in real time, the controls and the status line.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"
#include "hostkit/presented_frame.h"

namespace hostkit {
class CaptureSource;
}

namespace player {

class Playback;
class StatusLine;
class DroppedSources;

class LiveClient : public hostkit::HostClient, public hostkit::HostControls {
  public:
    // Either `playback` or `capture` may be set; with neither the show runs on silence.
    // `sleep` waits the given milliseconds; `status` may be null.
    LiveClient(Playback* playback, hostkit::CaptureSource* capture, std::function<void(int)> sleep,
               StatusLine* status);
    ~LiveClient() override;

    hostkit::SoundFormat Format() override;
    void Tick() override;
    bool Paused() override;
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    void Wait(int delayMs) override;
    void Act(hostkit::PlayerCommand command) override;
    // Dropped files and folders join the playlist (and start when nothing plays) once they were
    // read, which happens beside the show.
    void Drop(const std::vector<std::string>& paths) override;
    // Whether dropped files or folders are still being read.
    bool readingDrops() const { return !drops_.empty(); }
    // Where the frame-save key finds the frame on screen; null: the key says it has none.
    void SaveFramesFrom(const hostkit::PresentedFrameCapture* frames) { frames_ = frames; }
    // Told the show window's caption whenever what is playing changes.
    void SetTitleSink(std::function<void(const std::string&)> sink) {
        titleSink_ = std::move(sink);
    }

    // Set from a signal handler: the next turn asks the loop to quit.
    void RequestQuit() { quitRequested_ = true; }

  private:
    void TakeDrops();
    void Say(const std::string& line);
    void ShowStatus();
    void ShowTitle(const std::string& source);
    void SaveFrame();

    Playback* playback_;
    hostkit::CaptureSource* capture_;
    std::function<void(int)> sleep_;
    StatusLine* status_;
    bool capturePaused_ = false;
    std::atomic<bool> quitRequested_{false};
    bool quitPosted_ = false;
    bool captureFailureShown_ = false;
    const hostkit::PresentedFrameCapture* frames_ = nullptr;
    std::function<void(const std::string&)> titleSink_;
    std::string title_;
    std::deque<std::unique_ptr<DroppedSources>> drops_;
};

}  // namespace player
