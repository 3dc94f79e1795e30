// The built-in tune: over a minute long, the same every time, with loud and quiet passages,
// a beat and bass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "hostkit/builtin_tune.h"
#include "hostkit/waveform.h"

namespace {

// Root mean square of the left channel over [from, from + count) seconds.
double Loudness(hostkit::SoundTrack& tune, double from, double seconds) {
    const int rate = tune.sampleRate();
    const int count = static_cast<int>(seconds * rate);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count) * 2);
    tune.Read(static_cast<std::int64_t>(from * rate), count, samples.data());
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        double value = samples[static_cast<std::size_t>(2 * i)] / 32768.0;
        sum += value * value;
    }
    return std::sqrt(sum / count);
}

class BuiltinTune : public testing::Test {
  protected:
    static void SetUpTestSuite() { tune = hostkit::MakeBuiltinTune().release(); }
    static void TearDownTestSuite() { delete tune; }
    static hostkit::MemoryTrack* tune;
};
hostkit::MemoryTrack* BuiltinTune::tune = nullptr;

TEST_F(BuiltinTune, LastsOverAMinuteInStereo) {
    EXPECT_EQ(tune->sampleRate(), 44100);
    EXPECT_EQ(tune->sourceChannels(), 2);
    EXPECT_GE(tune->lengthFrames(), 60 * 44100);
}

TEST_F(BuiltinTune, IsTheSameEveryTime) {
    auto again = hostkit::MakeBuiltinTune();
    ASSERT_EQ(again->lengthFrames(), tune->lengthFrames());
    std::vector<std::int16_t> a(4410 * 2);
    std::vector<std::int16_t> b(4410 * 2);
    for (double at : {0.3, 17.1, 55.5, 90.0}) {
        auto frame = static_cast<std::int64_t>(at * 44100);
        tune->Read(frame, 4410, a.data());
        again->Read(frame, 4410, b.data());
        ASSERT_EQ(a, b) << at;
    }
}

// The tune is written out bar by bar with a fixed gain: its loudest sample must still come out
// at 89 % of full scale, neither clipped nor quieter than it should be.
TEST_F(BuiltinTune, LoudestSampleIsEightyNinePerCentOfFullScale) {
    const auto frames = static_cast<int>(tune->lengthFrames());
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    ASSERT_EQ(tune->Read(0, frames, samples.data()), frames);
    int loudest = 0;
    for (std::int16_t sample : samples)
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    EXPECT_EQ(loudest, 29163);  // 0.89 * 32767
}

TEST_F(BuiltinTune, HasABeatAndAQuietBreak) {
    // The kick on the beat is much louder than the moment before the next beat.
    EXPECT_GT(Loudness(*tune, 30.0, 0.05), 3.0 * Loudness(*tune, 30.4, 0.05));
    // Bars 28 to 31 are a quiet break between the loud parts.
    double breakLevel = Loudness(*tune, 57.0, 6.0);
    EXPECT_GT(Loudness(*tune, 40.0, 6.0), 3.0 * breakLevel);
    EXPECT_GT(Loudness(*tune, 70.0, 6.0), 3.0 * breakLevel);
    EXPECT_GT(breakLevel, 0.005);  // quiet, not silent
}

TEST_F(BuiltinTune, CarriesBassBelowTheMelody) {
    // Spectrum of a bar with bass and melody: energy low (bass) and higher up (melody).
    std::vector<std::int16_t> samples(576 * 2);
    winampVisModule module{};
    module.spectrumNch = 1;
    int low = 0;
    int high = 0;
    for (int k = 0; k < 40; ++k) {
        tune->Read(static_cast<std::int64_t>((40.0 + k * 0.05) * 44100), 576, samples.data());
        hostkit::FillSpectrum(hostkit::SoundWindow{samples.data(), 576, 2}, module);
        // Entry e covers e * 256 / 576 bins of 86 Hz: bass 80..260 Hz, melody 400..1500 Hz.
        for (int e = 2; e <= 6; ++e)
            low = std::max<int>(low, module.spectrumData[0][e]);
        for (int e = 11; e <= 40; ++e)
            high = std::max<int>(high, module.spectrumData[0][e]);
    }
    EXPECT_GT(low, 20);
    EXPECT_GT(high, 10);
}

}  // namespace
