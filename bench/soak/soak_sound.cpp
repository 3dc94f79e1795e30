// Two drifting tones under a slow loudness cycle, with noise bursts and silences.
#include "bench/soak/soak_sound.h"

#include <cmath>
#include <numbers>

namespace soak {

void FillSoakWaveform(std::int64_t frame, winampVisModule& module) {
    // Periods that share no factor, so the pattern does not repeat within a soak.
    const double loudness = 0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * (frame % 4999) / 4999.0);
    const bool silent = frame % 7919 < 300;
    const double low = 40.0 + 30.0 * std::sin(frame / 1013.0);
    const double high = 300.0 + 200.0 * std::sin(frame / 3571.0);
    std::uint32_t noise = static_cast<std::uint32_t>(frame) * 2654435761u;
    const bool burst = frame % 1777 < 60;
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kWaveformSamples; ++i) {
            const double t = (frame * kWaveformSamples + i) / 44100.0;
            double v = 0.6 * std::sin(2.0 * std::numbers::pi * low * t + c) +
                       0.3 * std::sin(2.0 * std::numbers::pi * high * t);
            noise = noise * 1664525u + 1013904223u;
            if (burst)
                v += ((noise >> 16) / 32768.0 - 1.0) * 0.5;
            v *= silent ? 0.0 : loudness;
            const int sample =
                static_cast<int>(std::lround(std::fmax(-1.0, std::fmin(1.0, v)) * 127.0));
            module.waveformData[c][i] =
                static_cast<unsigned char>(static_cast<signed char>(sample));
        }
    }
}

}  // namespace soak
