// The recent sound of a host whose sound arrives on its own schedule (Audacious's visualization
// calls, OBS's audio thread, a capture): a ring of the newest frames as 16-bit samples, pushed
// from any thread and read on the show's thread for each Render.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "hostkit/waveform.h"

namespace hostkit {

class SoundRing {
  public:
    explicit SoundRing(int capacityFrames = 8192);

    // Appends `frames` interleaved float frames (-1..1) of `channels` channels; channels past
    // the second are dropped. A change of channel count starts the ring anew.
    void Push(const float* interleaved, int frames, int channels);
    // The same from one plane per channel.
    void PushPlanar(const float* const* planes, int frames, int channels);
    // Silence: nothing kept (after a seek, a stop, a new song).
    void Clear();

    // The channel count of what was pushed last (1 or 2; 2 before anything came).
    int channels() const;
    int framesHeld() const;
    // How many frames were ever pushed: the position of the newest frame plus one.
    std::int64_t framesPushed() const;

    // The newest `frames` consecutive frames, oldest first; silence before the first push and
    // where fewer are held. The view stays valid until the next call of Newest on this ring.
    SoundWindow Newest(int frames = kWaveformSamples);
    // The newest `blockFrames` frames spread over `windowFrames` (some shown twice), for a host
    // that hands over blocks shorter than the waveform with gaps between them: spreading keeps a
    // step out of the trace. The view stays valid until the next call of Spread on this ring.
    SoundWindow Spread(int blockFrames, int windowFrames = kWaveformSamples);

  private:
    void StoreLocked(int frame, int channel, float value);
    void AdvanceLocked(int frames);
    int ChannelsLocked(int channels);

    mutable std::mutex mutex_;
    const int capacity_;
    std::vector<std::int16_t> ring_;  // two values a frame
    int channels_ = 2;
    int next_ = 0;  // frame slot written next
    int held_ = 0;
    std::int64_t pushed_ = 0;
    std::vector<std::int16_t> newest_;
    std::vector<std::int16_t> spread_;
};

}  // namespace hostkit
