// Reading and writing the WAV files the frame-exact hosts take their sound from.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "hostkit/desktop/wav_sound.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutTag(Bytes& b, const char* tag) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(tag[i]));
}

// A format record of 16 bytes, or 40 for the extensible form with its sub-format tag.
Bytes Format(std::uint16_t tag, int channels, int rate, int bits, std::uint16_t subTag = 0) {
    Bytes b;
    PutTag(b, "fmt ");
    Put32(b, tag == 0xFFFE ? 40 : 16);
    Put16(b, tag);
    Put16(b, static_cast<std::uint16_t>(channels));
    Put32(b, static_cast<std::uint32_t>(rate));
    Put32(b, static_cast<std::uint32_t>(rate * channels * bits / 8));
    Put16(b, static_cast<std::uint16_t>(channels * bits / 8));
    Put16(b, static_cast<std::uint16_t>(bits));
    if (tag == 0xFFFE) {
        Put16(b, 22);
        Put16(b, static_cast<std::uint16_t>(bits));
        Put32(b, 3);
        Put16(b, subTag);
        b.resize(b.size() + 14, 0);
    }
    return b;
}

Bytes Chunk(const char* tag, const Bytes& body, std::uint32_t declared) {
    Bytes b;
    PutTag(b, tag);
    Put32(b, declared);
    for (std::uint8_t byte : body)
        b.push_back(byte);
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, 0);
    PutTag(b, "WAVE");
    for (const Bytes& c : chunks) {
        for (std::uint8_t byte : c)
            b.push_back(byte);
    }
    return b;
}

TEST(WavSound, SixteenBitStereoRoundTripsThroughTheWriter) {
    hostkit::Sound sound;
    sound.sampleRate = 22050;
    sound.channels = 2;
    sound.samples = {0, -1, 32767, -32768, 1234, -4321};
    const hostkit::WavResult read = hostkit::ParseWav(hostkit::EncodeWav(sound));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.sound.sampleRate, 22050);
    EXPECT_EQ(read.sound.channels, 2);
    EXPECT_EQ(read.sound.samples, sound.samples);
    EXPECT_EQ(read.sound.frames(), 3);
}

TEST(WavSound, EightBitSamplesAreCentredOn128AndWidened) {
    const Bytes wav = Riff({Format(1, 1, 8000, 8), Chunk("data", {128, 255, 0, 129}, 4)});
    const hostkit::WavResult read = hostkit::ParseWav(wav);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.sound.channels, 1);
    EXPECT_EQ(read.sound.samples, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256, 256}));
}

TEST(WavSound, ExtensibleFormatWithPcmSubFormatIsTaken) {
    const Bytes wav = Riff({Format(0xFFFE, 2, 48000, 16, 1), Chunk("data", {1, 0, 2, 0}, 4)});
    const hostkit::WavResult read = hostkit::ParseWav(wav);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.sound.samples, (std::vector<std::int16_t>{1, 2}));
}

TEST(WavSound, UnknownChunksAreSkippedWithTheirOddPadding) {
    // "LIST" of 3 bytes is followed by one pad byte before the data chunk.
    const Bytes wav =
        Riff({Format(1, 1, 8000, 16), Chunk("LIST", {9, 9, 9, 0}, 3), Chunk("data", {7, 0}, 2)});
    const hostkit::WavResult read = hostkit::ParseWav(wav);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.sound.samples, (std::vector<std::int16_t>{7}));
}

TEST(WavSound, DataChunkCutShortKeepsTheWholeFramesThatArePresent) {
    // Declares 400 bytes, holds 5: one whole stereo frame and a stray byte.
    const Bytes wav = Riff({Format(1, 2, 8000, 16), Chunk("data", {1, 0, 2, 0, 3}, 400)});
    const hostkit::WavResult read = hostkit::ParseWav(wav);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.sound.samples, (std::vector<std::int16_t>{1, 2}));
}

TEST(WavSound, RefusesWhatItDoesNotTakeWithAReason) {
    struct Case {
        Bytes bytes;
        const char* why;
    };
    const std::vector<Case> cases = {
        {Bytes{'R', 'I', 'F', 'F'}, "not a RIFF WAVE file"},
        {Riff({Chunk("data", {0, 0}, 2)}), "data chunk before the format record"},
        {Riff({Format(1, 1, 8000, 16)}), "no data chunk"},
        {Riff({}), "no format record"},
        {Riff({Format(3, 1, 8000, 32), Chunk("data", {0, 0, 0, 0}, 4)}), "not uncompressed PCM"},
        {Riff({Format(1, 3, 8000, 16), Chunk("data", {}, 0)}),
         "only one or two channels are taken"},
        {Riff({Format(1, 2, 8000, 24), Chunk("data", {}, 0)}),
         "only 8- and 16-bit samples are taken"},
        {Riff({Format(1, 2, 10, 16), Chunk("data", {}, 0)}), "implausible sample rate"},
        {Riff({Chunk("fmt ", {1, 0}, 2)}), "format record shorter than 16 bytes"},
    };
    for (const Case& c : cases) {
        const hostkit::WavResult read = hostkit::ParseWav(c.bytes);
        EXPECT_EQ(read.error, c.why);
    }
}

TEST(WavSound, MissingFileIsNamedInTheError) {
    const hostkit::WavResult read = hostkit::ReadWavFile("/nonexistent/tolvek/sound.wav");
    EXPECT_EQ(read.error, "/nonexistent/tolvek/sound.wav: cannot open the sound file");
}

TEST(WavSound, TestSignalIsStereoOfTheAskedLengthAndSwellsBetweenSilenceAndLoud) {
    const hostkit::Sound sound = hostkit::MakeTestSignal(8000, 2);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.frames(), 16000);
    // The swell is silent at the start of each half second and loudest in its middle.
    int quietPeak = 0;
    int loudPeak = 0;
    for (int i = 0; i < 100; ++i)
        quietPeak = std::max(quietPeak, std::abs(int{sound.samples[2 * i]}));
    for (int i = 1900; i < 2100; ++i)
        loudPeak = std::max(loudPeak, std::abs(int{sound.samples[2 * i]}));
    EXPECT_LT(quietPeak, 500);
    EXPECT_GT(loudPeak, 25000);
    EXPECT_EQ(hostkit::MakeTestSignal(8000, 2).samples, sound.samples);
}

}  // namespace
