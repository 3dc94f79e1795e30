// Live sound from the sound server: the monitor of the default output (what the system plays)
// or a named source, read through libpulse-simple on a reader thread into a short ring.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/waveform.h"

struct pa_simple;

namespace hostkit {

inline constexpr int kCaptureRate = 44100;
inline constexpr int kCaptureChannels = 2;
inline constexpr const char* kDefaultMonitor = "@DEFAULT_MONITOR@";

class CaptureSource {
  public:
    // Connects to `source` (empty: the default output's monitor); null with a one-line reason
    // when no sound server answers or the source does not exist.
    static std::unique_ptr<CaptureSource> Open(const std::string& source, std::string* error);
    ~CaptureSource();
    CaptureSource(const CaptureSource&) = delete;
    CaptureSource& operator=(const CaptureSource&) = delete;

    // The newest `frames` frames captured (older ones first), stereo 16-bit; silence before the
    // first. Returns how many frames have been captured in all.
    std::int64_t Latest(int frames, std::int16_t* out) const;
    // The newest kWaveformSamples frames as the sound a host hands the plug-in (live sound has
    // no future: they are the closest to what is heard); valid until the next call.
    SoundWindow Heard();
    const std::string& name() const { return name_; }
    // The reader stopped on an error (the server went away); the reason, else empty.
    std::string failure() const;

  private:
    CaptureSource() = default;
    void ReadLoop();

    std::string name_;
    pa_simple* stream_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    std::vector<std::int16_t> ring_;  // kCaptureRate frames
    std::int64_t written_ = 0;        // frames captured in all
    std::string failure_;
    std::vector<std::int16_t> heard_ =
        std::vector<std::int16_t>(static_cast<std::size_t>(kWaveformSamples) * kCaptureChannels);
};

}  // namespace hostkit
