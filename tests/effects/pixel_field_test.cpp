// The pixel field: its pattern from the clock-seeded generator and the shifted heights per draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "platform/host_services.h"
#include "tests/effects/effect_test_support.h"

namespace {

constexpr int kBackground = 255;
constexpr int kPoints = 10000;

class PixelFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::FixCalendarTime(1700000000);
        field = std::make_unique<PixelField>(&display.screen());
    }
    void TearDown() override {
        field.reset();
        platform::FixCalendarTime(std::nullopt);
        ShowSrand(kShowRandInitialState);
    }

    // The frame of one Draw with drawCount set to `count`.
    std::vector<unsigned char> DrawAt(int count) {
        field->drawCount = count;
        return effects_testing::FrameOf(display.screen(), kBackground, [&] { field->Draw(); });
    }

    // The frame expected when point j takes the height of point (j + shift) mod 10000: later
    // points cover earlier ones, points off the surface are dropped.
    std::vector<unsigned char> ShiftedPattern(int shift) {
        std::vector<unsigned char> frame(640 * 480, kBackground);
        for (int j = 0; j < kPoints; ++j) {
            const int x = field->points[j].x;
            const int y = field->points[(j + shift) % kPoints].y;
            if (x < 640 && y < 480)
                frame[static_cast<std::size_t>(y) * 640 + x] = j & 0xFF;
        }
        return frame;
    }

    testing_support::HeadlessDisplay display;
    std::unique_ptr<PixelField> field;
};

TEST_F(PixelFieldTest, PatternComesFromTheClockSeedXBeforeY) {
    ShowSrand(1700000000u);
    for (int i = 0; i < kPoints; ++i) {
        const unsigned rx = static_cast<unsigned>(ShowRand());
        const unsigned ry = static_cast<unsigned>(ShowRand());
        ASSERT_EQ(field->points[i].x, static_cast<int>(rx * 640u / 32767u)) << "point " << i;
        ASSERT_EQ(field->points[i].y, static_cast<int>(ry * 480u / 32767u)) << "point " << i;
    }
}

TEST_F(PixelFieldTest, ConstructionDrawsExactly20000Values) {
    ShowSrand(1700000000u);
    for (int i = 0; i < 20000; ++i)
        ShowRand();
    const auto expected = ShowRandState();
    PixelField another(&display.screen());
    EXPECT_EQ(ShowRandState(), expected);
    EXPECT_EQ(another.drawCount, 0);
}

TEST_F(PixelFieldTest, FieldsBuiltInTheSameSecondMatch) {
    PixelField same(&display.screen());
    platform::FixCalendarTime(1700000001);
    PixelField later(&display.screen());
    int samePoints = 0;
    int laterPoints = 0;
    for (int i = 0; i < kPoints; ++i) {
        samePoints +=
            same.points[i].x == field->points[i].x && same.points[i].y == field->points[i].y;
        laterPoints +=
            later.points[i].x == field->points[i].x && later.points[i].y == field->points[i].y;
    }
    EXPECT_EQ(samePoints, kPoints);
    EXPECT_LT(laterPoints, 100);
}

TEST_F(PixelFieldTest, CoordinatesReachTheFarEdgeWhichIsClipped) {
    // r = 32767 gives exactly the width: find a seed whose pattern holds such a point.
    std::unique_ptr<PixelField> edged;
    for (std::int64_t seconds = 1; seconds < 200 && !edged; ++seconds) {
        platform::FixCalendarTime(seconds);
        auto candidate = std::make_unique<PixelField>(&display.screen());
        if (std::any_of(candidate->points.begin(), candidate->points.end(),
                        [](const PixelField::Point& point) { return point.x == 640; })) {
            edged = std::move(candidate);
        }
    }
    ASSERT_TRUE(edged);
    for (const auto& point : edged->points) {
        ASSERT_LE(point.x, 640);
        ASSERT_LE(point.y, 480);
    }
    // Drawn, the edge point is dropped rather than wrapped onto the next row.
    field = std::move(edged);
    EXPECT_EQ(DrawAt(0), ShiftedPattern(0));
}

TEST_F(PixelFieldTest, FirstDrawShowsEachPointAtItsOwnPlace) {
    EXPECT_EQ(field->drawCount, 0);
    EXPECT_EQ(DrawAt(0), ShiftedPattern(0));
    EXPECT_EQ(field->drawCount, 1);
}

TEST_F(PixelFieldTest, SecondDrawBorrowsTheNextPointsHeight) {
    const auto frame = DrawAt(1);
    EXPECT_EQ(frame, ShiftedPattern(1));
    EXPECT_NE(frame, ShiftedPattern(0));
    // Point 9999 wraps round to point 0's height.
    const int x = field->points[9999].x;
    const int y = field->points[0].y;
    if (x < 640 && y < 480) {
        EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, x, y), 9999 & 0xFF);
    }
}

TEST_F(PixelFieldTest, Draws9999And10000ShiftByAllButOne) {
    EXPECT_EQ(DrawAt(9998), ShiftedPattern(9998));
    // drawCount 9999: point 0 takes the height of point 9999, point 1 that of point 0.
    EXPECT_EQ(DrawAt(9999), ShiftedPattern(9999));
    EXPECT_EQ(field->drawCount, 10000);
}

TEST_F(PixelFieldTest, EveryDrawFrom10001OnShowsTheUnshiftedPattern) {
    const auto first = ShiftedPattern(0);
    EXPECT_EQ(DrawAt(10000), first);
    EXPECT_EQ(DrawAt(10001), first);
    EXPECT_EQ(DrawAt(123456), first);
}

TEST_F(PixelFieldTest, EachDrawKeepsEveryColumnAndShiftsByOne) {
    // Drawn for real, call after call: each frame is the pattern shifted one place further.
    for (int call = 0; call < 3; ++call) {
        const auto frame =
            effects_testing::FrameOf(display.screen(), kBackground, [&] { field->Draw(); });
        EXPECT_EQ(frame, ShiftedPattern(call)) << "call " << call;
    }
}

TEST_F(PixelFieldTest, ColoursRepeatEvery256Points) {
    display.screen().Clear(kBackground);
    field->Draw();
    // The last point drawn on a pixel wins; find points that no later point covers.
    std::vector<int> lastAt(640 * 480, -1);
    for (int j = 0; j < kPoints; ++j) {
        const auto& point = field->points[j];
        if (point.x < 640 && point.y < 480)
            lastAt[point.y * 640 + point.x] = j;
    }
    int checked = 0;
    for (int j : {0, 256, 512, 768, 1000, 9999}) {
        const auto& point = field->points[j];
        if (point.x >= 640 || point.y >= 480 || lastAt[point.y * 640 + point.x] != j)
            continue;
        EXPECT_EQ(testing_support::PixelAt(*display.screen().backBuffer, point.x, point.y),
                  j & 0xFF);
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

}  // namespace
