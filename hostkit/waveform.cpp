// Waveform and spectrum bytes from 16-bit sound.
#include "hostkit/waveform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace hostkit {
namespace {

constexpr int kFftSize = 512;

std::int16_t SampleAt(const SoundWindow& sound, int frame, int channel) {
    if (sound.samples == nullptr || frame >= sound.frames)
        return 0;
    int c = sound.channels == 1 ? 0 : channel;
    return sound.samples[static_cast<std::size_t>(frame) * sound.channels + c];
}

// In-place iterative radix-2 FFT.
void Fft(std::vector<std::complex<double>>& data) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        double angle = -2.0 * std::numbers::pi / static_cast<double>(length);
        std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                std::complex<double> even = data[start + k];
                std::complex<double> odd = data[start + k + length / 2] * w;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

}  // namespace

std::int16_t FloatToSample16(float value) {
    if (!(value == value))
        return 0;  // NaN
    double scaled = std::floor(static_cast<double>(value) * 32768.0 + 0.5);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

void FillWaveform(const SoundWindow& sound, winampVisModule& module) {
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kWaveformSamples; ++i) {
            module.waveformData[c][i] = WaveformByte(SampleAt(sound, i, c));
        }
    }
}

void FillSpectrum(const SoundWindow& sound, winampVisModule& module) {
    // The window is the same at every frame; computed once.
    static const std::array<double, kFftSize> kHann = [] {
        std::array<double, kFftSize> hann{};
        for (int i = 0; i < kFftSize; ++i)
            hann[static_cast<std::size_t>(i)] =
                0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (kFftSize - 1));
        return hann;
    }();
    const int channels = std::clamp(module.spectrumNch, 0, 2);
    std::vector<std::complex<double>> data(kFftSize);
    for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < kFftSize; ++i)
            data[static_cast<std::size_t>(i)] =
                kHann[static_cast<std::size_t>(i)] * SampleAt(sound, i, c) / 32768.0;
        Fft(data);
        // A full-scale sine peaks at size/4 with this window.
        const double fullScale = kFftSize / 4.0;
        for (int e = 0; e < kWaveformSamples; ++e) {
            int bin = e * (kFftSize / 2) / kWaveformSamples;
            double magnitude = std::abs(data[static_cast<std::size_t>(bin)]) / fullScale;
            module.spectrumData[c][e] =
                static_cast<unsigned char>(std::clamp(magnitude * 255.0, 0.0, 255.0));
        }
    }
}

}  // namespace hostkit
