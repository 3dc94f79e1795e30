// The horizontal trace: segment widths and end points, the bands, and the mended channel count and
// width.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/wave_scope.h"
#include "tests/effects/effect_test_support.h"

namespace {

using effects_testing::ByteForValue;
using effects_testing::ColumnsOnRow;
using effects_testing::PixelsOfColour;
using effects_testing::SilentModule;

constexpr int kColour = 77;
// Zigzag samples alternate between 0 and this height; a power of two keeps the summed slopes of
// the lines exact, so both ends of every segment land on the two rows.
constexpr int kZigzag = 16;

std::unique_ptr<winampVisModule> ZigzagModule(int channels = 2) {
    auto module = SilentModule(channels);
    for (auto& channel : module->waveformData) {
        for (int i = 0; i < kWaveformSamples; ++i)
            channel[i] = ByteForValue(i % 2 ? kZigzag : 0);
    }
    return module;
}

class Trace : public ::testing::Test {
  protected:
    Screen& screen() { return display.screen(); }

    effects_testing::Points Draw(const winampVisModule& module, int width, int baseY,
                                 int thickness = 1) {
        screen().Clear(0);
        scope.DrawTrace(&module, width, baseY, kColour, thickness);
        return PixelsOfColour(screen(), kColour);
    }

    // The x of every sample point of the band whose top row is `top`, left to right.
    static std::vector<int> EndPoints(const effects_testing::Points& points, int top) {
        std::vector<int> xs = ColumnsOnRow(points, top);
        const std::vector<int> bottom = ColumnsOnRow(points, top + kZigzag);
        xs.insert(xs.end(), bottom.begin(), bottom.end());
        std::sort(xs.begin(), xs.end());
        return xs;
    }

    static std::vector<int> Widths(const std::vector<int>& endPoints) {
        std::vector<int> widths;
        for (std::size_t i = 1; i < endPoints.size(); ++i) {
            widths.push_back(endPoints[i] - endPoints[i - 1]);
        }
        return widths;
    }

    testing_support::HeadlessDisplay display;
    WaveScope scope{&display.screen()};
};

TEST_F(Trace, FullWidthSpreadsNinthSegmentsOverTwoPixels) {
    const auto points = Draw(*ZigzagModule(), 640, 70);
    const auto ends = EndPoints(points, 70);
    ASSERT_EQ(ends.size(), 576u);
    EXPECT_EQ(ends.front(), 0);
    EXPECT_EQ(ends.back(), 638);
    const auto widths = Widths(ends);
    for (std::size_t s = 0; s < widths.size(); ++s) {
        ASSERT_EQ(widths[s], s % 9 == 8 ? 2 : 1) << "segment " << s;
    }
    EXPECT_EQ(std::count(widths.begin(), widths.end(), 2), 63);
}

TEST_F(Trace, SecondChannelInheritsTheAccumulatorAndStartsTwoPixelsWide) {
    const auto points = Draw(*ZigzagModule(), 640, 70);
    const auto ends = EndPoints(points, 3 * 70);
    ASSERT_EQ(ends.size(), 576u);
    EXPECT_EQ(ends.front(), 0);
    EXPECT_EQ(ends.back(), 639);
    const auto widths = Widths(ends);
    EXPECT_EQ(widths.front(), 2);
    for (std::size_t s = 0; s < widths.size(); ++s) {
        ASSERT_EQ(widths[s], s % 9 == 0 ? 2 : 1) << "segment " << s;
    }
    EXPECT_EQ(std::count(widths.begin(), widths.end(), 2), 64);
}

TEST_F(Trace, Width576IsCentredInOnePixelSteps) {
    const auto ends = EndPoints(Draw(*ZigzagModule(1), 576, 70), 70);
    ASSERT_EQ(ends.size(), 576u);
    EXPECT_EQ(ends.front(), 32);
    EXPECT_EQ(ends.back(), 607);
    const auto widths = Widths(ends);
    EXPECT_TRUE(std::all_of(widths.begin(), widths.end(), [](int w) { return w == 1; }));
}

TEST_F(Trace, NarrowTraceDrawsOneSegmentPastItsWidth) {
    // Width 100: x0 270, and the x test before each segment lets 101 segments through.
    const auto ends = EndPoints(Draw(*ZigzagModule(1), 100, 70), 70);
    ASSERT_EQ(ends.size(), 102u);
    EXPECT_EQ(ends.front(), 270);
    EXPECT_EQ(ends.back(), 371);
}

TEST_F(Trace, SilenceRestsAtBasePlus128) {
    const auto points = Draw(*SilentModule(), 640, 70);
    std::vector<int> rows;
    for (const auto& point : points)
        rows.push_back(point.second);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{198, 338}));
    // Horizontal lines leave out their right end, which the next segment starts from.
    EXPECT_EQ(ColumnsOnRow(points, 198).size(), 638u);
    EXPECT_EQ(ColumnsOnRow(points, 338).size(), 639u);

    const auto figureAct = Draw(*SilentModule(), 640, 100, 2);
    std::vector<int> figureRows;
    for (const auto& point : figureAct)
        figureRows.push_back(point.second);
    std::sort(figureRows.begin(), figureRows.end());
    figureRows.erase(std::unique(figureRows.begin(), figureRows.end()), figureRows.end());
    EXPECT_EQ(figureRows, (std::vector<int>{228, 229, 428, 429}));
}

TEST_F(Trace, SecondBandStartsAtThreeTimesBaseY) {
    const auto points = Draw(*ZigzagModule(), 640, 50);
    EXPECT_EQ(ColumnsOnRow(points, 50).size(), 288u);
    EXPECT_EQ(ColumnsOnRow(points, 150).size(), 288u);
    EXPECT_TRUE(ColumnsOnRow(points, 100).empty());
    EXPECT_TRUE(ColumnsOnRow(points, 100 + kZigzag).empty());
}

TEST_F(Trace, ThicknessDrawsParallelLinesOneRowApart) {
    const auto thin = Draw(*ZigzagModule(1), 576, 70, 1);
    const auto thick = Draw(*ZigzagModule(1), 576, 70, 3);
    effects_testing::Points shifted;
    for (const auto& [x, y] : thin) {
        for (int k = 0; k < 3; ++k)
            shifted.insert({x, y + k});
    }
    EXPECT_EQ(thick, shifted);
}

TEST_F(Trace, NoThicknessOrNoChannelDrawsNothing) {
    EXPECT_TRUE(Draw(*ZigzagModule(), 640, 70, 0).empty());
    EXPECT_TRUE(Draw(*ZigzagModule(), 640, 70, -2).empty());
    EXPECT_TRUE(Draw(*ZigzagModule(0), 640, 70).empty());
    EXPECT_TRUE(Draw(*ZigzagModule(-1), 640, 70).empty());
}

TEST_F(Trace, OneChannelDrawsOnlyTheFirstBand) {
    const auto points = Draw(*ZigzagModule(1), 640, 70);
    EXPECT_FALSE(ColumnsOnRow(points, 70).empty());
    EXPECT_TRUE(ColumnsOnRow(points, 210).empty());
    EXPECT_TRUE(ColumnsOnRow(points, 210 + kZigzag).empty());
}

TEST_F(Trace, MoreReportedChannelsThanTheRecordHoldsDrawTwoBands) {
    const auto two = Draw(*ZigzagModule(2), 640, 70);
    // A third band would start at 5 * 70 and read past the waveform record.
    EXPECT_EQ(Draw(*ZigzagModule(3), 640, 70), two);
    EXPECT_EQ(Draw(*ZigzagModule(6), 640, 70), two);
}

TEST_F(Trace, WidthBeyondTheScreenIsClampedToTheScreen) {
    const auto full = Draw(*ZigzagModule(), 640, 70);
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(Draw(*ZigzagModule(), 641, 70), full);
    EXPECT_EQ(Draw(*ZigzagModule(), 1200, 70), full);
    EXPECT_EQ(Draw(*ZigzagModule(), 2147483647, 70), full);
}

TEST_F(Trace, EachChannelReadsItsOwnSamples) {
    auto module = SilentModule();
    for (auto& byte : module->waveformData[1])
        byte = ByteForValue(200);
    const auto points = Draw(*module, 640, 70);
    EXPECT_EQ(ColumnsOnRow(points, 70 + 128).size(), 638u);
    EXPECT_EQ(ColumnsOnRow(points, 210 + 200).size(), 639u);
    EXPECT_TRUE(ColumnsOnRow(points, 210 + 128).empty());
}

}  // namespace
