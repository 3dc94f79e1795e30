// Decoded sound that can be read at any frame: a file, the built-in tune, or a test's samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostkit {

class SoundTrack {
  public:
    virtual ~SoundTrack() = default;

    virtual const std::string& name() const = 0;
    virtual int sampleRate() const = 0;
    // The source's own channel count (what the plug-in is told in nCh).
    virtual int sourceChannels() const = 0;
    // Frames held per sample frame: 1 for mono, otherwise the first two channels.
    int storedChannels() const { return sourceChannels() == 1 ? 1 : 2; }
    // Length in frames; a decoder that ends early shortens it.
    virtual std::int64_t lengthFrames() const = 0;
    // Copies `count` frames from `start` into `out` (storedChannels() values per frame); frames
    // before the start or past the end are silence. Returns how many frames were real sound.
    virtual int Read(std::int64_t start, int count, std::int16_t* out) = 0;
};

// Sound already in memory.
class MemoryTrack : public SoundTrack {
  public:
    MemoryTrack(std::string name, int sampleRate, int channels, std::vector<std::int16_t> samples);

    const std::string& name() const override { return name_; }
    int sampleRate() const override { return sampleRate_; }
    int sourceChannels() const override { return channels_; }
    std::int64_t lengthFrames() const override;
    int Read(std::int64_t start, int count, std::int16_t* out) override;

  private:
    std::string name_;
    int sampleRate_;
    int channels_;
    std::vector<std::int16_t> samples_;  // storedChannels() per frame
};

}  // namespace hostkit
