// PCM WAV files for the frame-exact hosts: a reader over bytes, a file opener and a writer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hostkit {

// Files beyond this are refused before they are read.
inline constexpr std::uint64_t kMaxWavBytes = 512ull * 1024 * 1024;

// Sound as interleaved 16-bit samples of one or two channels.
struct Sound {
    int sampleRate = 44100;
    int channels = 2;
    std::vector<std::int16_t> samples;
    int frames() const { return channels > 0 ? static_cast<int>(samples.size()) / channels : 0; }
};

struct WavResult {
    Sound sound;
    std::string error;  // empty on success, otherwise why the bytes are not sound we take
    bool ok() const { return error.empty(); }
};

// Uncompressed PCM (also in an extensible format record) of 8 or 16 bits, one or two
// channels. Chunks it does not know are skipped; a data chunk cut short keeps what is there.
WavResult ParseWav(std::span<const std::uint8_t> bytes);
// The same from a file; the error names the file.
WavResult ReadWavFile(const std::string& path);

// 16-bit PCM WAV bytes of the sound.
std::vector<std::uint8_t> EncodeWav(const Sound& sound);

// A stereo test signal that is the same on every machine: a swept tone with a beat that comes
// and goes, so the show's loudness-driven parts move.
Sound MakeTestSignal(int sampleRate, int seconds);

}  // namespace hostkit
