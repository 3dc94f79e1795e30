// What the host hands the plug-in each frame: 576 frames of sound as waveform bytes and spectrum.
#pragma once

#include <cstdint>

#include "host/winamp_vis.h"

namespace hostkit {

// A stretch of decoded sound: interleaved 16-bit frames of one or two channels.
struct SoundWindow {
    const std::int16_t* samples = nullptr;  // frames * channels values; null means silence
    int frames = 0;                         // frames present; the rest of the 576 is silence
    int channels = 1;                       // 1 or 2
};

// The top byte of a 16-bit sample: a signed 8-bit value stored in the unsigned array.
inline unsigned char WaveformByte(std::int16_t sample) {
    return static_cast<unsigned char>(static_cast<std::uint16_t>(sample) >> 8);
}

// A decoded sample in -1..1 as a 16-bit sample; values outside are clipped, not wrapped.
std::int16_t FloatToSample16(float value);

// waveformData: 576 consecutive frames per channel; a mono source fills both channels.
void FillWaveform(const SoundWindow& sound, winampVisModule& module);

// spectrumData for the first spectrumNch channels (none when it is 0): a 512-point FFT with a
// Hann window over the window's first 512 frames, bins 0..255 spread over 576 entries, magnitudes
// 0..255 with a full-scale sine at 255.
void FillSpectrum(const SoundWindow& sound, winampVisModule& module);

}  // namespace hostkit
