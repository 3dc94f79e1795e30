// The offline renderer's side of the host loop: a timeline of its own, where frame k shows the
// sound at (k - 1) / fps seconds, no waiting, and the quit request after the last frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"

namespace hostkit {
class SoundTrack;
}  // namespace hostkit

namespace player {

inline constexpr int kSilenceSampleRate = 44100;
inline constexpr int kSilenceChannels = 2;

// The first sample frame of frame k's waveform: exact in integers, so a click at 2.000 s
// starts frame 61's waveform at 30 fps.
std::int64_t FrameStartSample(int frame, int fps, int sampleRate);

class OfflineClient : public hostkit::HostClient, public hostkit::HostControls {
  public:
    // Called after each Render with its frame number; false stops the run.
    using FrameDone = std::function<bool(int frame)>;

    // `track` null: all-zero waveform bytes, 2 channels at 44100 Hz. `stop` (may be null) is
    // set from a signal handler to end the run after the frame being rendered.
    OfflineClient(hostkit::SoundTrack* track, int fps, int lastFrame, FrameDone frameDone,
                  const std::atomic<bool>* stop);

    hostkit::SoundFormat Format() override;
    bool Paused() override { return false; }
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    void Wait(int delayMs) override;
    // Nobody presses keys offline; the module's forwarded keys change nothing.
    void Act(hostkit::PlayerCommand) override {}

    // The number of the last frame rendered (0 before the first).
    int frame() const { return frame_; }
    // Whether the run ended early: by `stop` or because FrameDone said so.
    bool stoppedEarly() const { return stoppedEarly_; }

  private:
    hostkit::SoundTrack* track_;
    int fps_;
    int lastFrame_;
    FrameDone frameDone_;
    const std::atomic<bool>* stop_;
    int frame_ = 0;
    bool quitPosted_ = false;
    bool stoppedEarly_ = false;
    std::vector<std::int16_t> window_;
};

}  // namespace player
