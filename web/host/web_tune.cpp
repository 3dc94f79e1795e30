// The built-in tune for the page: the desktop player's synthesis, handed to Web Audio as floats.
#include <emscripten.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "hostkit/builtin_tune.h"

namespace {

std::unique_ptr<hostkit::MemoryTrack>& Tune() {
    static std::unique_ptr<hostkit::MemoryTrack> tune;
    return tune;
}

}  // namespace

extern "C" {

// Synthesizes the tune once; its length in frames.
EMSCRIPTEN_KEEPALIVE int tolvek_tune_prepare() {
    if (Tune() == nullptr) Tune() = hostkit::MakeBuiltinTune();
    return static_cast<int>(Tune()->lengthFrames());
}

EMSCRIPTEN_KEEPALIVE int tolvek_tune_sample_rate() { return hostkit::kTuneSampleRate; }
EMSCRIPTEN_KEEPALIVE int tolvek_tune_channels() {
    return Tune() != nullptr ? Tune()->sourceChannels() : 2;
}

// `count` frames from `start` as floats k / 32768, so that the page's conversion back to 16 bits
// gives the very samples the desktop player hands on.
EMSCRIPTEN_KEEPALIVE int tolvek_tune_read(int start, int count, float* left, float* right) {
    if (Tune() == nullptr || count <= 0) return 0;
    const int channels = Tune()->storedChannels();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count) * channels);
    const int read = Tune()->Read(start, count, samples.data());
    for (int i = 0; i < count; ++i) {
        const std::int16_t l = samples[static_cast<std::size_t>(i) * channels];
        const std::int16_t r = samples[static_cast<std::size_t>(i) * channels + channels - 1];
        left[i] = static_cast<float>(l) / 32768.0f;
        right[i] = static_cast<float>(r) / 32768.0f;
    }
    return read;
}

// Frees the samples once the page holds them.
EMSCRIPTEN_KEEPALIVE void tolvek_tune_release() { Tune().reset(); }

}  // extern "C"
