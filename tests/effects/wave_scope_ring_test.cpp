// The ring scope: the resting circle with its gap, the one-pixel offset at 270 degrees, colours
// per line, and drawing onto any surface.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/wave_scope.h"
#include "tests/effects/effect_test_support.h"

namespace {

using effects_testing::ByteForValue;
using effects_testing::PixelsOfColour;
using effects_testing::SilentModule;

constexpr int kColour = 40;
constexpr int kSecondColour = 41;

class Ring : public ::testing::Test {
  protected:
    Screen& screen() { return display.screen(); }
    int Pixel(int x, int y) { return testing_support::PixelAt(*screen().backBuffer, x, y); }

    void Draw(const winampVisModule& module, int thickness = 1, int centreY = 240) {
        screen().Clear(0);
        const int colours[2] = {kColour, kSecondColour};
        scope.DrawRing(&module, 320, centreY, colours, thickness);
    }

    // Radius 0 everywhere except one sample.
    static std::unique_ptr<winampVisModule> Spike(int degree, int radius) {
        auto module = SilentModule(2, ByteForValue(0));
        module->waveformData[0][degree] = ByteForValue(radius);
        return module;
    }

    testing_support::HeadlessDisplay display;
    WaveScope scope{&display.screen()};
};

TEST(WaveScopeTables, HoldTinyValuesWhereAnExactTableHoldsZero) {
    testing_support::HeadlessDisplay display;
    WaveScope scope(&display.screen());
    EXPECT_EQ(scope.sinTable[0], 0.0f);
    EXPECT_EQ(scope.cosTable[0], 1.0f);
    // About +2.9e-10, +5.9e-10 and -8.8e-10: far from the 1e-16 an exact pi would leave.
    EXPECT_GT(scope.cosTable[90], 2.5e-10f);
    EXPECT_LT(scope.cosTable[90], 3.3e-10f);
    EXPECT_GT(scope.sinTable[180], 5.5e-10f);
    EXPECT_LT(scope.sinTable[180], 6.3e-10f);
    EXPECT_LT(scope.cosTable[270], -8.4e-10f);
    EXPECT_GT(scope.cosTable[270], -9.2e-10f);
    // Stored as the float nearest the double value.
    EXPECT_EQ(scope.sinTable[30], static_cast<float>(std::sin(30 * 0.017453292516666667)));
}

TEST_F(Ring, SilenceIsARestingCircleOfRadius128) {
    Draw(*SilentModule());
    const auto points = PixelsOfColour(screen(), kColour);
    ASSERT_GT(points.size(), 700u);
    for (const auto& [x, y] : points) {
        const double distance = std::hypot(x - 320, y - 240);
        ASSERT_GE(distance, 126.0) << x << "," << y;
        ASSERT_LE(distance, 130.0) << x << "," << y;
    }
    EXPECT_EQ(Pixel(448, 240), kColour);  // 0 degrees
    EXPECT_EQ(Pixel(320, 368), kColour);  // 90 degrees
    EXPECT_EQ(Pixel(192, 240), kColour);  // 180 degrees
    EXPECT_EQ(Pixel(319, 112), kColour);  // 270 degrees
}

TEST_F(Ring, RingStaysOpenBetween359And0Degrees) {
    Draw(*SilentModule());
    // 359 degrees lies at (447, 237), 0 degrees at (448, 240); a closing segment would pass
    // through (447, 238) and (447, 239).
    EXPECT_EQ(Pixel(448, 240), kColour);
    EXPECT_EQ(Pixel(447, 236), kColour);
    EXPECT_EQ(Pixel(447, 238), 0);
    EXPECT_EQ(Pixel(447, 239), 0);
    EXPECT_EQ(Pixel(448, 239), 0);
}

TEST_F(Ring, PointAt270DegreesLiesOneColumnLeftForEveryRadius) {
    // Centred lower down so that the longest radii stay on the screen.
    for (int radius = 1; radius <= 255; ++radius) {
        Draw(*Spike(270, radius), 1, 300);
        ASSERT_EQ(Pixel(319, 300 - radius), kColour) << "radius " << radius;
        ASSERT_EQ(Pixel(320, 300 - radius), 0) << "radius " << radius;
    }
}

TEST_F(Ring, PointsAt90And180DegreesKeepTheCentreLines) {
    for (int radius : {1, 2, 64, 128, 200, 239}) {
        // Both lines to the 90-degree point are vertical and leave out its lower end.
        Draw(*Spike(90, radius));
        EXPECT_EQ(Pixel(320, 240 + radius - 1), kColour) << "radius " << radius;
        EXPECT_EQ(Pixel(319, 240 + radius - 1), 0) << "radius " << radius;
        Draw(*Spike(180, radius));
        EXPECT_EQ(Pixel(320 - radius, 240), kColour) << "radius " << radius;
        EXPECT_EQ(Pixel(320 - radius, 239), 0) << "radius " << radius;
    }
}

TEST_F(Ring, SamplesRunClockwiseFromTheRight) {
    // 45 degrees points right and down the screen: trunc(320 + 100 cos 45), trunc(240 + 100 sin
    // 45).
    Draw(*Spike(45, 100));
    EXPECT_EQ(Pixel(390, 310), kColour);
    EXPECT_EQ(Pixel(390, 170), 0);
}

TEST_F(Ring, LoudSamplesReachOffScreenAndAreClipped) {
    auto module = SilentModule(2, ByteForValue(255));
    Draw(*module);
    // Radius 255 spans y = -15 .. 495 around the centre; only the on-screen arcs remain.
    EXPECT_EQ(Pixel(575, 240), kColour);
    EXPECT_EQ(Pixel(320, 0), 0);
    EXPECT_FALSE(PixelsOfColour(screen(), kColour).empty());
}

TEST_F(Ring, ReadsOnlyTheFirst360SamplesOfChannel0) {
    auto quiet = SilentModule();
    Draw(*quiet);
    const auto expected = PixelsOfColour(screen(), kColour);
    auto noisy = SilentModule(0);
    for (int i = 360; i < kWaveformSamples; ++i)
        noisy->waveformData[0][i] = ByteForValue(250);
    for (auto& byte : noisy->waveformData[1])
        byte = ByteForValue(3);
    Draw(*noisy);
    EXPECT_EQ(PixelsOfColour(screen(), kColour), expected);
}

TEST_F(Ring, SecondLineTakesTheSecondColourOneRowLower) {
    Draw(*SilentModule(), 1);
    const auto single = PixelsOfColour(screen(), kColour);
    Draw(*SilentModule(), 2);
    const auto second = PixelsOfColour(screen(), kSecondColour);
    ASSERT_GT(second.size(), 100u);
    for (const auto& [x, y] : second)
        ASSERT_TRUE(single.count({x, y - 1})) << x << "," << y;
}

TEST_F(Ring, NoThicknessDrawsNothing) {
    Draw(*SilentModule(), 0);
    EXPECT_TRUE(PixelsOfColour(screen(), kColour).empty());
}

TEST_F(Ring, DrawsOntoAnyLockableSurface) {
    Surface small;
    ASSERT_EQ(small.Create(&screen(), 64, 64), 1);
    small.Fill(0);
    screen().Clear(0);
    const int colours[1] = {kColour};
    EXPECT_EQ(scope.DrawRingOn(&small, SilentModule(2, ByteForValue(20)).get(), 32, 32, colours, 1),
              DD_OK);
    const auto pixels = testing_support::ReadPixels(small);
    int drawn = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (pixels[y * 64 + x] != kColour)
                continue;
            ++drawn;
            const double distance = std::hypot(x - 32, y - 32);
            EXPECT_TRUE(distance >= 18.0 && distance <= 21.5) << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 80);
    EXPECT_TRUE(PixelsOfColour(screen(), kColour).empty());
}

}  // namespace
