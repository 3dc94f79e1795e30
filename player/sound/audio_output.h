// The sound device: 16-bit frames queued to SDL's default output, with what is still in flight.
#pragma once

#include <cstdint>
#include <string>

namespace player {

class AudioOutput {
  public:
    AudioOutput() = default;
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    ~AudioOutput();

    // Opens (or reopens for another format) the default output device; false with the reason
    // when there is none.
    bool Open(int sampleRate, int channels, std::string* error);
    void Close();
    bool isOpen() const { return device_ != 0; }
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }

    void Queue(const std::int16_t* samples, int frames);
    // Drops everything queued and not yet taken by the device.
    void Clear();
    // Frames queued and not yet taken by the device.
    int QueuedFrames() const;
    // Frames taken by the device and not yet audible: its buffer and the sound server's, about
    // two device buffers.
    int DeviceLatencyFrames() const { return 2 * bufferFrames_; }
    int bufferFrames() const { return bufferFrames_; }

  private:
    std::uint32_t device_ = 0;
    int sampleRate_ = 0;
    int channels_ = 0;
    int bufferFrames_ = 0;
};

}  // namespace player
