// Reading and writing PCM WAV files, and the deterministic test signal.
#include "hostkit/desktop/wav_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

#include "hostkit/desktop/little_endian.h"

namespace hostkit {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
};

std::string CheckFormat(std::span<const std::uint8_t> chunk, Format* format) {
    if (chunk.size() < 16)
        return "format record shorter than 16 bytes";
    format->tag = U16(chunk.data());
    format->channels = U16(chunk.data() + 2);
    format->sampleRate = static_cast<int>(U32(chunk.data() + 4) & 0x7FFFFFFF);
    format->bits = U16(chunk.data() + 14);
    if (format->tag == kFormatExtensible && chunk.size() >= 26) {
        format->tag = U16(chunk.data() + 24);  // the sub-format's first two bytes
    }
    if (format->tag != kFormatPcm)
        return "not uncompressed PCM";
    if (format->channels < 1 || format->channels > 2)
        return "only one or two channels are taken";
    if (format->bits != 8 && format->bits != 16)
        return "only 8- and 16-bit samples are taken";
    if (format->sampleRate < 1000 || format->sampleRate > 384000)
        return "implausible sample rate";
    return {};
}

void TakeSamples(std::span<const std::uint8_t> data, const Format& format, Sound* sound) {
    const std::size_t bytesPerFrame = static_cast<std::size_t>(format.channels * format.bits / 8);
    const std::size_t frames = data.size() / bytesPerFrame;
    sound->samples.resize(frames * static_cast<std::size_t>(format.channels));
    for (std::size_t i = 0; i < sound->samples.size(); ++i) {
        if (format.bits == 16) {
            sound->samples[i] = static_cast<std::int16_t>(U16(data.data() + 2 * i));
        } else {
            // 8-bit WAV samples are unsigned with 128 at rest.
            sound->samples[i] = static_cast<std::int16_t>((data[i] - 128) * 256);
        }
    }
}

}  // namespace

WavResult ParseWav(std::span<const std::uint8_t> bytes) {
    WavResult result;
    if (bytes.size() < 12 || U32(bytes.data()) != 0x46464952u ||
        U32(bytes.data() + 8) != 0x45564157u) {
        result.error = "not a RIFF WAVE file";
        return result;
    }
    Format format;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t id = U32(bytes.data() + at);
        const std::uint64_t declared = U32(bytes.data() + at + 4);
        const std::size_t body = at + 8;
        const std::size_t size =
            static_cast<std::size_t>(std::min<std::uint64_t>(declared, bytes.size() - body));
        if (id == 0x20746D66u) {  // "fmt "
            result.error = CheckFormat(bytes.subspan(body, size), &format);
            if (!result.ok())
                return result;
            haveFormat = true;
        } else if (id == 0x61746164u) {  // "data"
            if (!haveFormat) {
                result.error = "data chunk before the format record";
                return result;
            }
            result.sound.sampleRate = format.sampleRate;
            result.sound.channels = format.channels;
            TakeSamples(bytes.subspan(body, size), format, &result.sound);
            return result;
        }
        // Chunks are padded to an even size.
        at = body + static_cast<std::size_t>(
                        std::min<std::uint64_t>(declared + (declared & 1), bytes.size() - body));
    }
    result.error = haveFormat ? "no data chunk" : "no format record";
    return result;
}

WavResult ReadWavFile(const std::string& path) {
    WavResult result;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        result.error = path + ": cannot open the sound file";
        return result;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxWavBytes) {
        result.error = path + ": sound file larger than " +
                       std::to_string(kMaxWavBytes / (1024 * 1024)) + " MiB";
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size) {
        result.error = path + ": cannot read the sound file";
        return result;
    }
    result = ParseWav(bytes);
    if (!result.ok())
        result.error = path + ": " + result.error;
    return result;
}

std::vector<std::uint8_t> EncodeWav(const Sound& sound) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutU32(out, 0x46464952u);  // "RIFF"
    PutU32(out, 36 + dataBytes);
    PutU32(out, 0x45564157u);  // "WAVE"
    PutU32(out, 0x20746D66u);  // "fmt "
    PutU32(out, 16);
    PutU16(out, kFormatPcm);
    PutU16(out, static_cast<std::uint16_t>(sound.channels));
    PutU32(out, static_cast<std::uint32_t>(sound.sampleRate));
    PutU32(out, static_cast<std::uint32_t>(sound.sampleRate * sound.channels * 2));
    PutU16(out, static_cast<std::uint16_t>(sound.channels * 2));
    PutU16(out, 16);
    PutU32(out, 0x61746164u);  // "data"
    PutU32(out, dataBytes);
    for (std::int16_t s : sound.samples)
        PutU16(out, static_cast<std::uint16_t>(s));
    return out;
}

Sound MakeTestSignal(int sampleRate, int seconds) {
    Sound sound;
    sound.sampleRate = sampleRate;
    sound.channels = 2;
    const int frames = sampleRate * seconds;
    sound.samples.resize(static_cast<std::size_t>(frames) * 2);
    constexpr double kTwoPi = 2 * std::numbers::pi;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        // Loudness swells and falls twice a second; the tone sweeps 110..880 Hz every 4 s.
        const double swell = 0.5 - 0.5 * std::cos(kTwoPi * 2.0 * t);
        const double sweep = 110.0 * std::pow(8.0, std::fmod(t, 4.0) / 4.0);
        const double left = swell * std::sin(kTwoPi * sweep * t);
        const double right = swell * std::sin(kTwoPi * sweep * 1.5 * t);
        sound.samples[2 * static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(left * 30000.0));
        sound.samples[2 * static_cast<std::size_t>(i) + 1] =
            static_cast<std::int16_t>(std::lround(right * 30000.0));
    }
    return sound;
}

}  // namespace hostkit
