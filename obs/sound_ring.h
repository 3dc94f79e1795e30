// The sound of the OBS source the show listens to, kept for the show's turns: OBS hands it over
// on its own thread (the source's or the audio thread), in blocks with their timestamps; the
// show's turn on OBS's video thread takes the 576 frames heard at a given moment.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "hostkit/waveform.h"

namespace tolvek_obs {

class SoundRing {
  public:
    static constexpr int kCapacityFrames = 1 << 14;  // 341 ms at 48 kHz
    static constexpr int kWindowFrames = 576;
    // Sound older than this at the asked moment is a source that stopped: silence.
    static constexpr std::uint64_t kStaleNs = 250'000'000;

    // Appends `frames` frames of planar float channels (-1..1) whose first frame is heard at
    // `timestampNs` (OBS's clock); channels past the second are dropped. A block that does not
    // follow the one before it (a jump of more than a few ms) starts the ring anew.
    void Push(const float* const* planes, int channels, int frames, int sampleRate,
              std::uint64_t timestampNs);
    // Silence: nothing kept (another source chosen).
    void Clear();

    // The 576 frames heard from `startNs` on, interleaved into `out`; when the ring does not
    // reach that far yet, the newest 576 it holds. Silence when it holds nothing heard within
    // kStaleNs of `startNs`. `heardNs` (when given) gets when the first of them is heard.
    hostkit::SoundWindow Window(std::uint64_t startNs,
                                std::array<std::int16_t, kWindowFrames * 2>& out,
                                std::uint64_t* heardNs = nullptr) const;

    int channels() const;
    int sampleRate() const;

  private:
    mutable std::mutex mutex_;
    std::array<std::int16_t, kCapacityFrames * 2> ring_{};
    int channels_ = 2;
    int sampleRate_ = 48000;
    std::uint64_t written_ = 0;  // frames pushed since the ring started anew
    std::uint64_t held_ = 0;     // frames still in the ring
    std::uint64_t startNs_ = 0;  // when frame 0 of this run is heard
};

}  // namespace tolvek_obs
