// Which stretch of sound each Render gets when time advances by delayMs per frame.
#include <gtest/gtest.h>

#include "hostkit/desktop/frame_sound.h"

namespace {

hostkit::Sound Ramp(int channels, int frames) {
    hostkit::Sound sound;
    sound.sampleRate = 1000;  // one frame per millisecond keeps the arithmetic readable
    sound.channels = channels;
    for (int i = 0; i < frames * channels; ++i)
        sound.samples.push_back(static_cast<std::int16_t>(i));
    return sound;
}

TEST(FrameSound, FirstRenderHearsTheLatencyAndEachNextOneDelayMsLater) {
    EXPECT_EQ(hostkit::FirstSoundFrame(1, 25, 25, 44100), 1102);  // 25 ms, truncated
    EXPECT_EQ(hostkit::FirstSoundFrame(2, 25, 25, 44100), 2205);  // 50 ms
    EXPECT_EQ(hostkit::FirstSoundFrame(401, 25, 25, 44100), 442102);
}

TEST(FrameSound, WindowStartsAtTheFrameAndRunsToTheEndOfTheSound) {
    const hostkit::Sound sound = Ramp(2, 2000);
    const hostkit::SoundWindow window = hostkit::SoundAt(&sound, 3, 25, 25);
    ASSERT_NE(window.samples, nullptr);
    EXPECT_EQ(window.channels, 2);
    EXPECT_EQ(window.samples[0], 2 * 75);  // frame 75: (3 - 1) x 25 + 25 ms
    EXPECT_EQ(window.frames, 2000 - 75);
}

TEST(FrameSound, SilenceWithoutSoundAndPastItsEnd) {
    EXPECT_EQ(hostkit::SoundAt(nullptr, 1, 25, 25).samples, nullptr);
    const hostkit::Sound sound = Ramp(1, 100);
    const hostkit::SoundWindow past = hostkit::SoundAt(&sound, 4, 25, 25);  // at 100 ms
    EXPECT_EQ(past.samples, nullptr);
    const hostkit::SoundWindow last = hostkit::SoundAt(&sound, 3, 25, 24);  // at 74 ms
    ASSERT_NE(last.samples, nullptr);
    EXPECT_EQ(last.frames, 26);
    EXPECT_EQ(last.channels, 1);
}

TEST(FrameSound, FilledWaveformIsTheTopByteOfTheFramesSamples) {
    hostkit::Sound sound;
    sound.sampleRate = 1000;
    sound.channels = 1;
    sound.samples.assign(1000, static_cast<std::int16_t>(0x1234));
    sound.samples[25] = static_cast<std::int16_t>(-0x0100);
    winampVisModule module{};
    hostkit::FillWaveform(hostkit::SoundAt(&sound, 1, 25, 25), module);
    // A mono source fills both channels.
    EXPECT_EQ(module.waveformData[0][0], 0xFF);
    EXPECT_EQ(module.waveformData[1][0], 0xFF);
    EXPECT_EQ(module.waveformData[0][1], 0x12);
}

}  // namespace
