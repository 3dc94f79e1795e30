// The show's generator: its sequence, its seeding from the fixable clock, and its independence
// from the C library's rand.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "effects/particle_swarm.h"
#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "platform/host_services.h"
#include "tests/support/headless_display.h"

namespace {

std::vector<int> Draws(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(ShowRand());
    return values;
}

class ShowRandom : public ::testing::Test {
  protected:
    void TearDown() override {
        platform::FixCalendarTime(std::nullopt);
        ShowSrand(kShowRandInitialState);
    }
};

TEST_F(ShowRandom, UnseededSequenceIsTheClassicRuntimeOne) {
    ShowSrand(kShowRandInitialState);
    // The first values the C runtime's rand gives before any srand.
    EXPECT_EQ(Draws(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST_F(ShowRandom, StateAdvancesByTheLinearCongruence) {
    ShowSrand(0);
    EXPECT_EQ(ShowRand(), 38);  // 2531011 >> 16
    EXPECT_EQ(ShowRandState(), 2531011u);
    ShowSrand(0xFFFFFFFFu);
    ShowRand();
    // 0xFFFFFFFF * 214013 + 2531011 wraps modulo 2^32.
    EXPECT_EQ(ShowRandState(), static_cast<std::uint32_t>(0xFFFFFFFFull * 214013u + 2531011u));
}

TEST_F(ShowRandom, SeedingWithTheSameValueReplaysTheSequence) {
    ShowSrand(77);
    const auto first = Draws(10);
    ShowSrand(77);
    EXPECT_EQ(Draws(10), first);
    ShowSrand(78);
    EXPECT_NE(Draws(10), first);
}

TEST_F(ShowRandom, ClockSeedUsesTheFixedCalendarTime) {
    platform::FixCalendarTime(1234567890);
    ShowSrandFromClock();
    EXPECT_EQ(ShowRandState(), 1234567890u);
    // Seconds past 32 bits are cut, as a calendar time passed to srand is.
    platform::FixCalendarTime((std::int64_t{1} << 32) + 99);
    ShowSrandFromClock();
    EXPECT_EQ(ShowRandState(), 99u);
}

TEST_F(ShowRandom, EffectsLeaveTheRuntimeGeneratorAlone) {
    testing_support::HeadlessDisplay display;
    std::srand(4242);
    const int expected[3] = {std::rand(), std::rand(), std::rand()};
    std::srand(4242);
    PixelField field(&display.screen());
    ParticleSwarm swarm(&display.screen(), 50, 640, 480);
    for (int i = 0; i < 50; ++i)
        swarm.Update();
    const int actual[3] = {std::rand(), std::rand(), std::rand()};
    EXPECT_EQ(actual[0], expected[0]);
    EXPECT_EQ(actual[1], expected[1]);
    EXPECT_EQ(actual[2], expected[2]);
}

}  // namespace
