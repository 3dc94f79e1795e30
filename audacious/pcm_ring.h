// The sound Audacious hands its visualizations, kept for the show's timer: a small ring of the
// latest frames as 16-bit samples, from which each show frame takes its 576.
#pragma once

#include <array>
#include <cstdint>

#include "hostkit/waveform.h"

namespace audacious {

class PcmRing {
  public:
    // Enough for the newest block of 512 frames and the tail of the one before it.
    static constexpr int kCapacityFrames = 2048;
    static constexpr int kWindowFrames = 576;

    // Appends `frames` interleaved frames of `channels` channels (Audacious's float -1..1);
    // channels past the second are dropped. A change of channel count starts the ring anew.
    void Push(const float* pcm, int frames, int channels);
    // Silence: nothing kept (after a seek, a stop or a new song).
    void Clear();

    // The latest kWindowFrames frames, oldest first; fewer (the rest silence) when the ring has
    // not yet seen that many. The view stays valid until the next Push or Clear.
    hostkit::SoundWindow Window();

    int channels() const { return channels_; }
    int framesHeld() const { return held_; }

  private:
    std::array<std::int16_t, kCapacityFrames * 2> ring_{};
    std::array<std::int16_t, kWindowFrames * 2> window_{};
    int channels_ = 1;
    int next_ = 0;  // frame slot written next
    int held_ = 0;
};

}  // namespace audacious
