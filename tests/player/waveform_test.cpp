// Waveform bytes are the top bytes of 16-bit samples, 576 consecutive frames per channel, mono
// copied to both, the first two of more channels, whatever the source's format and rate.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "hostkit/waveform.h"
#include "player/sound/file_track.h"
#include "player/sound/playback.h"
#include "tests/player/sound_files.h"

namespace {

using hostkit::FillWaveform;
using hostkit::SoundWindow;
using player::FileTrack;
using player_testing::ScratchFolder;

unsigned char TopByte(int sample) {
    return static_cast<unsigned char>((static_cast<unsigned>(sample) >> 8) & 0xFF);
}

// Distinct values per channel and frame, so swapped or shifted channels cannot pass.
short Pattern(long frame, int channel) {
    return static_cast<short>(((frame * 37 + channel * 91) % 256 - 128) * 256 + channel * 3);
}

winampVisModule EmptyModule() {
    winampVisModule module{};
    std::memset(module.waveformData, 0xAA, sizeof module.waveformData);
    std::memset(module.spectrumData, 0xAA, sizeof module.spectrumData);
    return module;
}

TEST(WaveformByte, KeepsTheSignedTopByte) {
    EXPECT_EQ(hostkit::WaveformByte(0x7FFF), 0x7F);
    EXPECT_EQ(hostkit::WaveformByte(0x0100), 0x01);
    EXPECT_EQ(hostkit::WaveformByte(0x00FF), 0x00);
    EXPECT_EQ(hostkit::WaveformByte(0), 0x00);
    EXPECT_EQ(hostkit::WaveformByte(-1), 0xFF);
    EXPECT_EQ(hostkit::WaveformByte(-256), 0xFF);
    EXPECT_EQ(hostkit::WaveformByte(-257), 0xFE);
    EXPECT_EQ(hostkit::WaveformByte(-32768), 0x80);
}

TEST(FloatToSample16, ScalesAndClipsInsteadOfWrapping) {
    EXPECT_EQ(hostkit::FloatToSample16(0.5f), 16384);
    EXPECT_EQ(hostkit::FloatToSample16(-0.5f), -16384);
    EXPECT_EQ(hostkit::FloatToSample16(-1.0f), -32768);
    EXPECT_EQ(hostkit::FloatToSample16(1.0f), 32767);
    EXPECT_EQ(hostkit::FloatToSample16(3.0f), 32767);
    EXPECT_EQ(hostkit::FloatToSample16(-7.5f), -32768);
    EXPECT_EQ(hostkit::FloatToSample16(std::nanf("")), 0);
}

TEST(FillWaveform, SilenceAndShortWindowsFillWithZeroBytes) {
    winampVisModule module = EmptyModule();
    hostkit::FillWaveform(hostkit::SoundWindow{}, module);
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 576; ++i)
            ASSERT_EQ(module.waveformData[c][i], 0);
    }
    const std::int16_t two[] = {0x1234, -0x1234, 0x5678, -0x5678};
    hostkit::FillWaveform(hostkit::SoundWindow{two, 2, 2}, module);
    EXPECT_EQ(module.waveformData[0][0], 0x12);
    EXPECT_EQ(module.waveformData[1][0], 0xED);
    EXPECT_EQ(module.waveformData[0][1], 0x56);
    EXPECT_EQ(module.waveformData[1][1], 0xA9);
    EXPECT_EQ(module.waveformData[0][2], 0);
    EXPECT_EQ(module.waveformData[1][575], 0);
}

class WaveformFromFile : public testing::Test {
  protected:
    // Reads the 576 frames from `start` of the file and fills a module with them.
    winampVisModule FillFrom(const std::string& path, long start, int* channels = nullptr) {
        std::string error;
        auto track = FileTrack::Open(path, &error);
        EXPECT_NE(track, nullptr) << error;
        winampVisModule module = EmptyModule();
        if (track == nullptr)
            return module;
        if (channels != nullptr)
            *channels = track->sourceChannels();
        std::vector<std::int16_t> frames(576 * 2);
        track->Read(start, 576, frames.data());
        hostkit::FillWaveform(hostkit::SoundWindow{frames.data(), 576, track->storedChannels()},
                              module);
        return module;
    }
    ScratchFolder folder;
};

TEST_F(WaveformFromFile, SixteenBitStereoGivesEachChannelsTopBytes) {
    const std::string path = folder.Path("stereo16.wav");
    ASSERT_EQ(player_testing::WriteSamples16(path, 44100, 2, 4000, Pattern), "");
    winampVisModule module = FillFrom(path, 1000);
    for (int i = 0; i < 576; ++i) {
        ASSERT_EQ(module.waveformData[0][i], TopByte(Pattern(1000 + i, 0))) << i;
        ASSERT_EQ(module.waveformData[1][i], TopByte(Pattern(1000 + i, 1))) << i;
    }
}

TEST_F(WaveformFromFile, FloatSourceIsScaledToSixteenBitsAndClipped) {
    const std::string path = folder.Path("float.wav");
    auto sample = [](long frame, int channel) {
        const double values[] = {0.25, -0.25, 1.5, -0.75, 0.0};
        return channel == 0 ? values[frame % 5] : -values[frame % 5] / 2;
    };
    ASSERT_EQ(player_testing::WriteSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 2, 2000,
                                             sample),
              "");
    winampVisModule module = FillFrom(path, 0);
    const unsigned char left[] = {0x20, 0xE0, 0x7F, 0xA0, 0x00};   // 1.5 clips to 0x7FFF
    const unsigned char right[] = {0xF0, 0x10, 0xA0, 0x30, 0x00};  // -0.75 is 0xA000
    for (int i = 0; i < 576; ++i) {
        ASSERT_EQ(module.waveformData[0][i], left[i % 5]) << i;
        ASSERT_EQ(module.waveformData[1][i], right[i % 5]) << i;
    }
}

TEST_F(WaveformFromFile, MonoFillsBothChannelsAlike) {
    const std::string path = folder.Path("mono.wav");
    ASSERT_EQ(player_testing::WriteSamples16(path, 22050, 1, 3000, Pattern), "");
    int channels = 0;
    winampVisModule module = FillFrom(path, 7, &channels);
    EXPECT_EQ(channels, 1);
    for (int i = 0; i < 576; ++i) {
        ASSERT_EQ(module.waveformData[0][i], TopByte(Pattern(7 + i, 0))) << i;
        ASSERT_EQ(module.waveformData[1][i], TopByte(Pattern(7 + i, 0))) << i;
    }
}

TEST_F(WaveformFromFile, SixChannelsShowTheFirstTwoAndReportSix) {
    const std::string path = folder.Path("surround.wav");
    ASSERT_EQ(player_testing::WriteSamples16(path, 48000, 6, 2000, Pattern), "");
    int channels = 0;
    winampVisModule module = FillFrom(path, 300, &channels);
    EXPECT_EQ(channels, 6);
    for (int i = 0; i < 576; ++i) {
        ASSERT_EQ(module.waveformData[0][i], TopByte(Pattern(300 + i, 0))) << i;
        ASSERT_EQ(module.waveformData[1][i], TopByte(Pattern(300 + i, 1))) << i;
    }
}

TEST_F(WaveformFromFile, FramesAreConsecutiveAtEightAndNinetySixKilohertz) {
    for (int rate : {8000, 96000}) {
        const std::string path = folder.Path("rate" + std::to_string(rate) + ".wav");
        ASSERT_EQ(player_testing::WriteSamples16(path, rate, 2, rate * 2, Pattern), "");
        double now = 0.0;
        player::Playback playback(
            {path},
            [](const std::string& name, std::string* error) {
                return std::unique_ptr<hostkit::SoundTrack>(FileTrack::Open(name, error));
            },
            nullptr, [&now] { return now; }, [](const std::string&) {}, false);
        ASSERT_TRUE(playback.Start());
        EXPECT_EQ(playback.sampleRate(), rate);
        now = 1.0;
        // One second in, 25 ms ahead: 576 frames from there, at the file's own rate.
        hostkit::SoundWindow sound = playback.WindowAt(25);
        winampVisModule module = EmptyModule();
        hostkit::FillWaveform(sound, module);
        const long first = rate + rate / 40;
        for (int i = 0; i < 576; ++i) {
            ASSERT_EQ(module.waveformData[0][i], TopByte(Pattern(first + i, 0)))
                << rate << " " << i;
            ASSERT_EQ(module.waveformData[1][i], TopByte(Pattern(first + i, 1)))
                << rate << " " << i;
        }
    }
}

TEST(FillSpectrum, SinePeaksAtItsFrequencyOnALinearScale) {
    // Bin 64 of 256 (a quarter of the way to half the rate): entry 144 of 576.
    std::vector<std::int16_t> samples(576 * 2);
    for (int i = 0; i < 576; ++i) {
        double value = 32767.0 * std::sin(2.0 * std::numbers::pi * 64.0 * i / 512.0);
        samples[static_cast<std::size_t>(2 * i)] = static_cast<std::int16_t>(value);
        samples[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::int16_t>(value / 4);
    }
    winampVisModule module = EmptyModule();
    module.spectrumNch = 2;
    hostkit::FillSpectrum(hostkit::SoundWindow{samples.data(), 576, 2}, module);
    EXPECT_GE(module.spectrumData[0][144], 250);
    EXPECT_NEAR(module.spectrumData[1][144], 64, 3);
    EXPECT_LT(module.spectrumData[0][100], 3);
    EXPECT_LT(module.spectrumData[0][300], 3);
}

TEST(FillSpectrum, NothingIsFilledWhenNoChannelIsAskedFor) {
    winampVisModule module = EmptyModule();
    module.spectrumNch = 1;
    std::vector<std::int16_t> samples(576, 8000);
    hostkit::FillSpectrum(hostkit::SoundWindow{samples.data(), 576, 1}, module);
    EXPECT_GT(module.spectrumData[0][0], 0);
    EXPECT_EQ(module.spectrumData[1][0], 0xAA);  // the second channel was not asked for
    module = EmptyModule();
    module.spectrumNch = 0;
    hostkit::FillSpectrum(hostkit::SoundWindow{samples.data(), 576, 1}, module);
    EXPECT_EQ(module.spectrumData[0][0], 0xAA);
}

}  // namespace
