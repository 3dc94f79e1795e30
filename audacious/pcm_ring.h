// The sound Audacious hands its visualizations, kept for the show's timer: a small ring of the
// latest frames as 16-bit samples, from which each show frame takes its 576.
//
// Audacious hands over 512 consecutive frames every 33 ms, with the sound between two blocks
// left out, so 576 consecutive frames are never there: the newest block is spread over the 576
// (every ninth sample shown twice) rather than joined to the end of the block before it, which
// would put a step into every trace.
#pragma once

#include <array>
#include <cstdint>

#include "hostkit/waveform.h"

namespace audacious {

class PcmRing {
  public:
    static constexpr int kBlockFrames = 512;
    static constexpr int kCapacityFrames = 4 * kBlockFrames;
    static constexpr int kWindowFrames = 576;

    // Appends `frames` interleaved frames of `channels` channels (Audacious's float -1..1);
    // channels past the second are dropped. A change of channel count starts the ring anew.
    void Push(const float* pcm, int frames, int channels);
    // Silence: nothing kept (after a seek, a stop or a new song).
    void Clear();

    // The newest kBlockFrames frames spread over kWindowFrames, oldest first; silence before the
    // first block. The view stays valid until the next Push or Clear.
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
