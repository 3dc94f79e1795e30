// The guard between a figure's floating-point end points and Surface::DrawLine.
#include <gtest/gtest.h>

#include <limits>

#include "figures/figure_constants.h"
#include "figures/line_fit.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(LineFit, TruncatesTowardZeroWithinTheBand) {
    ScreenLine line{};
    ASSERT_TRUE(FitLine(-0.75, 10.9, 639.99, -1.5, 640, 480, line));
    EXPECT_EQ(line.x1, 0);
    EXPECT_EQ(line.y1, 10);
    EXPECT_EQ(line.x2, 639);
    EXPECT_EQ(line.y2, -1);
    ASSERT_TRUE(FitLine(-4000.5, 240, 4600.2, 241, 640, 480, line));
    EXPECT_EQ(line.x1, -4000) << "ends within the band go through as computed";
    EXPECT_EQ(line.x2, 4600);
}

TEST(LineFit, SkipsEndPointsThatAreNotNumbers) {
    ScreenLine line{1, 2, 3, 4};
    EXPECT_FALSE(FitLine(kNaN, 0, 10, 10, 640, 480, line));
    EXPECT_FALSE(FitLine(0, kInf, 10, 10, 640, 480, line));
    EXPECT_FALSE(FitLine(0, 0, -kInf, 10, 640, 480, line));
    EXPECT_FALSE(FitLine(0, 0, 10, kNaN, 640, 480, line));
    EXPECT_EQ(line.x1, 1) << "a skipped line leaves the output alone";
}

TEST(LineFit, SkipsLinesWhollyBeyondOneSideButKeepsThoseThatMayTouchTheEdge) {
    ScreenLine line{};
    EXPECT_FALSE(FitLine(-50, 10, -2, 400, 640, 480, line));
    EXPECT_FALSE(FitLine(641, 10, 900, 400, 640, 480, line));
    EXPECT_FALSE(FitLine(10, -300, 500, -2.5, 640, 480, line));
    EXPECT_FALSE(FitLine(10, 481, 500, 2000, 640, 480, line));
    // A running coordinate near -1 or the width truncates onto the surface.
    EXPECT_TRUE(FitLine(-50, 10, -1.5, 400, 640, 480, line));
    EXPECT_TRUE(FitLine(640, 10, 900, 400, 640, 480, line));
}

TEST(LineFit, ClipsFarEndsToTheBandAlongTheLine) {
    ScreenLine line{};
    ASSERT_TRUE(FitLine(-1.0e12, 240, 1.0e12, 240, 640, 480, line));
    EXPECT_EQ(line.x1, -figures::kDrawMargin);
    EXPECT_EQ(line.x2, 640 + figures::kDrawMargin);
    EXPECT_EQ(line.y1, 240);
    EXPECT_EQ(line.y2, 240);
    ASSERT_TRUE(FitLine(320, 240, 320 + 1.0e30, 240 + 1.0e30, 640, 480, line));
    EXPECT_EQ(line.x1, 320);
    EXPECT_EQ(line.y1, 240);
    EXPECT_EQ(line.x2 - 320, line.y2 - 240) << "the clipped end stays on the diagonal";
    EXPECT_LE(line.y2, 480 + figures::kDrawMargin);
    EXPECT_FALSE(FitLine(-1.0e12, -1.0e12, -1.0e12, 1.0e12, 640, 480, line));
}

}  // namespace
