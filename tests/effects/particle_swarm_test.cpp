// The particle swarm: respawn ranges and draws, integer accelerations, ageing colours, and the
// update that respawns and draws a particle in the same frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "effects/particle_swarm.h"
#include "effects/show_random.h"
#include "tests/effects/effect_test_support.h"

namespace {

constexpr int kBase = 50;

class Swarm : public ::testing::Test {
  protected:
    void TearDown() override { ShowSrand(kShowRandInitialState); }

    // A generator state from which Respawn gives a particle that satisfies `wanted`.
    std::uint32_t FindState(const std::function<bool(const Particle&)>& wanted) {
        ParticleSwarm scratch(&display.screen(), kBase, 640, 480);
        for (std::uint32_t state = 1; state < 2000000; ++state) {
            ShowSrand(state);
            scratch.Respawn(0);
            if (wanted(scratch.particles[0]))
                return state;
        }
        ADD_FAILURE() << "no generator state gives the wanted particle";
        return 0;
    }

    // Parks every particle but `keep` on (0, 0) with no motion, drawn in colour 9.
    static void ParkAllBut(ParticleSwarm& swarm, int keep) {
        for (int i = 0; i < kParticleCount; ++i) {
            if (i != keep)
                swarm.particles[i] = Particle{0, 0, 0, 0, 0, 0, 9, 100, 1, 0};
        }
    }

    testing_support::HeadlessDisplay display;
};

TEST_F(Swarm, RespawnStartsInTheCentreSquareWithBoundedVelocity) {
    ShowSrand(12345);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    std::map<int, int> xs, ys, vxs, periods;
    for (int round = 0; round < 20; ++round) {
        swarm.RespawnAll();
        for (const Particle& p : swarm.particles) {
            ++xs[p.x];
            ++ys[p.y];
            ++vxs[p.vx];
            ++periods[p.period];
            ASSERT_TRUE(p.vy != 0 && std::abs(p.vy) <= 5);
            ASSERT_EQ(p.colour, kBase);
            ASSERT_EQ(p.age, 0);
            ASSERT_EQ(p.tick, 0);
        }
    }
    EXPECT_EQ(xs.begin()->first, 300);
    EXPECT_EQ(xs.rbegin()->first, 339);
    EXPECT_EQ(xs.size(), 40u);
    EXPECT_EQ(ys.begin()->first, 220);
    EXPECT_EQ(ys.rbegin()->first, 259);
    EXPECT_EQ(ys.size(), 40u);
    EXPECT_EQ(vxs.size(), 10u);  // -5..-1 and 1..5, never 0
    EXPECT_EQ(vxs.count(0), 0u);
    EXPECT_EQ(vxs.begin()->first, -5);
    EXPECT_EQ(vxs.rbegin()->first, 5);
    EXPECT_EQ(periods.begin()->first, 1);
    EXPECT_EQ(periods.rbegin()->first, 10);
    EXPECT_EQ(periods.size(), 10u);
}

TEST_F(Swarm, StartSquareFollowsTheBoxCentre) {
    ShowSrand(5);
    ParticleSwarm swarm(&display.screen(), kBase, 101, 61);
    for (const Particle& p : swarm.particles) {
        ASSERT_TRUE(p.x >= 30 && p.x <= 69) << p.x;  // 101 >> 1 = 50
        ASSERT_TRUE(p.y >= 10 && p.y <= 49) << p.y;  // 61 >> 1 = 30
    }
}

TEST_F(Swarm, RespawnDrawsEightValuesInTheirOrder) {
    ShowSrand(2024);
    int r[8];
    for (int& value : r)
        value = ShowRand();
    const auto after = ShowRandState();

    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    ShowSrand(2024);
    swarm.Respawn(7);
    EXPECT_EQ(ShowRandState(), after);
    const Particle& p = swarm.particles[7];
    EXPECT_EQ(p.x, r[0] % 40 + 300);
    EXPECT_EQ(p.y, r[1] % 40 + 220);
    EXPECT_EQ(p.vx, r[2] % 2 == 1 ? -1 - (4 * r[3]) % 5 : (4 * r[3]) % 5 + 1);
    EXPECT_EQ(p.vy, r[4] % 2 == 1 ? -1 - (4 * r[5]) % 5 : (4 * r[5]) % 5 + 1);
    EXPECT_EQ(p.ax, p.vx / (r[6] % 5 + 1));
    EXPECT_EQ(p.ay, p.vy / (r[6] % 5 + 1));
    EXPECT_EQ(p.period, r[7] % 10 + 1);
}

TEST_F(Swarm, RespawnAllConsumes3200Values) {
    ShowSrand(777);
    for (int i = 0; i < 3200; ++i)
        ShowRand();
    const auto expected = ShowRandState();
    ShowSrand(777);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    EXPECT_EQ(ShowRandState(), expected);
    ShowSrand(777);
    swarm.RespawnAll();
    EXPECT_EQ(ShowRandState(), expected);
}

TEST_F(Swarm, AccelerationIsVelocityDividedTowardZero) {
    // vy -4 with ay -2 can only come from the divisor 2, which gives vx -3 an ax of -1, not -2.
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    ShowSrand(FindState([](const Particle& p) { return p.vx == -3 && p.vy == -4 && p.ay == -2; }));
    swarm.Respawn(0);
    EXPECT_EQ(swarm.particles[0].ax, -1);

    // vy 4 with ay 1 means a divisor of 3 or 4: vx 2 then gets no acceleration.
    ShowSrand(FindState([](const Particle& p) { return p.vx == 2 && p.vy == 4 && p.ay == 1; }));
    swarm.Respawn(0);
    EXPECT_EQ(swarm.particles[0].ax, 0);

    // Over many respawns: one divisor for both axes, truncating toward zero.
    ShowSrand(99);
    bool sawNegativeOneKeptAtZero = false;
    for (int round = 0; round < 10; ++round) {
        swarm.RespawnAll();
        for (const Particle& p : swarm.particles) {
            bool someDivisorFits = false;
            for (int divisor = 1; divisor <= 5; ++divisor) {
                someDivisorFits |= p.ax == p.vx / divisor && p.ay == p.vy / divisor;
            }
            ASSERT_TRUE(someDivisorFits) << p.vx << "/" << p.ax << " " << p.vy << "/" << p.ay;
            sawNegativeOneKeptAtZero |= p.vx == -1 && p.ax == 0;
        }
    }
    EXPECT_TRUE(sawNegativeOneKeptAtZero);
}

TEST_F(Swarm, ZeroAccelerationKeepsThatVelocityForever) {
    ShowSrand(1);
    ParticleSwarm swarm(&display.screen(), kBase, 1 << 20, 1 << 20);
    Particle& p = swarm.particles[3];
    p = Particle{1000, 1000, 1, 3, 0, 1, kBase, 0, 1, 0};
    for (int i = 0; i < 100; ++i)
        swarm.Update();
    EXPECT_EQ(p.vx, 1);
    EXPECT_EQ(p.vy, 103);
    EXPECT_EQ(p.x, 1100);
}

TEST_F(Swarm, VelocityGrowsOncePerPeriodAfterTheMove) {
    ShowSrand(1);
    ParticleSwarm swarm(&display.screen(), kBase, 1 << 20, 1 << 20);
    Particle& p = swarm.particles[0];
    p = Particle{1000, 2000, 2, -2, 1, -1, kBase, 0, 3, 0};
    std::vector<int> xs;
    for (int i = 0; i < 7; ++i) {
        swarm.Update();
        xs.push_back(p.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{1002, 1004, 1006, 1009, 1012, 1015, 1019}));
    EXPECT_EQ(p.vy, -4);
    EXPECT_EQ(p.tick, 1);
}

TEST_F(Swarm, ColourBrightensAtAges10And20And50Only) {
    ShowSrand(1);
    ParticleSwarm swarm(&display.screen(), kBase, 1 << 20, 1 << 20);
    Particle& p = swarm.particles[0];
    p = Particle{5000, 5000, 1, 1, 0, 0, kBase, 0, 4, 0};
    std::map<int, int> changes;  // age -> new colour
    int colour = p.colour;
    for (int update = 0; update < 300; ++update) {
        swarm.Update();
        if (p.colour != colour)
            changes[p.age] = p.colour;
        colour = p.colour;
    }
    EXPECT_EQ(changes, (std::map<int, int>{{10, 51}, {20, 52}, {50, 53}}));
    EXPECT_EQ(p.colour, 53);
}

TEST_F(Swarm, SlowestParticleLeavesTheShowBoxWithin260Updates) {
    ShowSrand(1);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    Particle& p = swarm.particles[0];
    p = Particle{300, 220, 1, 1, 0, 0, kBase, 0, 1, 0};
    for (int i = 0; i < 259; ++i)
        swarm.Update();
    EXPECT_EQ(p.y, 479);
    EXPECT_EQ(p.age, 259);
    swarm.Update();  // y reaches 480 and the particle starts again
    EXPECT_EQ(p.age, 1);
    EXPECT_TRUE(p.y >= 220 && p.y <= 259);
}

TEST_F(Swarm, ParticleLeavingIsRespawnedAndDrawnInTheSameUpdate) {
    ShowSrand(31);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    ParkAllBut(swarm, 0);
    Particle& p = swarm.particles[0];
    p = Particle{638, 100, 3, 1, 0, 0, kBase + 2, 30, 5, 2};
    swarm.Update();
    EXPECT_TRUE(p.x >= 300 && p.x <= 339) << p.x;
    EXPECT_TRUE(p.y >= 220 && p.y <= 259) << p.y;
    EXPECT_EQ(p.age, 1);
    EXPECT_EQ(p.colour, kBase);

    display.screen().Clear(0);
    swarm.Draw();
    EXPECT_EQ(effects_testing::DrawnPixels(display.screen(), 0),
              (effects_testing::Points{{0, 0}, {p.x, p.y}}));
    EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, p.x, p.y), kBase);
}

TEST_F(Swarm, RespawnWithPeriodOneAcceleratesInThatUpdate) {
    const auto state = FindState([](const Particle& p) { return p.period == 1 && p.ax != 0; });
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    ShowSrand(state);
    swarm.Respawn(0);
    const Particle fresh = swarm.particles[0];

    swarm.particles[0] = Particle{0, 240, -1, 0, 0, 0, kBase, 7, 9, 3};
    ShowSrand(state);
    swarm.Update();
    const Particle& p = swarm.particles[0];
    EXPECT_EQ(p.x, fresh.x);
    EXPECT_EQ(p.vx, fresh.vx + fresh.ax);
    EXPECT_EQ(p.vy, fresh.vy + fresh.ay);
    EXPECT_EQ(p.tick, 0);
    EXPECT_EQ(p.age, 1);
}

TEST_F(Swarm, EveryParticleStaysInsideTheBoxAndIsDrawnUnclipped) {
    ShowSrand(4711);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    for (int update = 0; update < 600; ++update) {
        swarm.Update();
        for (const Particle& p : swarm.particles) {
            ASSERT_TRUE(p.x >= 0 && p.x < 640 && p.y >= 0 && p.y < 480);
            ASSERT_TRUE(p.vx != 0 && p.vy != 0);
        }
    }
    display.screen().Clear(0);
    swarm.Draw();
    for (const Particle& p : swarm.particles) {
        const int shown = testing_support::PixelAt(*display.screen().backBuffer, p.x, p.y);
        ASSERT_TRUE(shown >= kBase && shown <= kBase + 3) << shown;
    }
}

TEST_F(Swarm, DrawPaintsParticlesInIndexOrder) {
    ShowSrand(8);
    ParticleSwarm swarm(&display.screen(), kBase, 640, 480);
    for (int i = 0; i < kParticleCount; ++i) {
        swarm.particles[i].x = i % 20;
        swarm.particles[i].y = i / 20;
        swarm.particles[i].colour = i & 0xFF;
    }
    swarm.particles[399].x = 0;  // lands on particle 0 and, drawn later, covers it
    swarm.particles[399].y = 0;
    display.screen().Clear(0);
    swarm.Draw();
    EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, 0, 0), 399 & 0xFF);
    EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, 5, 3), 65);
    EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, 19, 19), 0);
}

}  // namespace
