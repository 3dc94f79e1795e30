// The pixel and line rules of Surface on a locked back buffer.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/support/headless_display.h"

namespace {

using Points = std::set<std::pair<int, int>>;

// Draws one line on a cleared back buffer and returns the pixels it set.
Points LinePixels(testing_support::HeadlessDisplay& display, int x1, int y1, int x2, int y2) {
    Screen& screen = display.screen();
    screen.Clear(0);
    screen.backBuffer->Lock();
    screen.backBuffer->DrawLine(x1, y1, x2, y2, 7);
    screen.backBuffer->Unlock();
    Points points;
    auto pixels = testing_support::ReadPixels(*screen.backBuffer);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (pixels[static_cast<std::size_t>(y) * screen.width + x] == 7) points.insert({x, y});
        }
    }
    return points;
}

class DrawLine : public ::testing::Test {
protected:
    testing_support::HeadlessDisplay display;
};

TEST_F(DrawLine, PointLineDrawsNothing) { EXPECT_TRUE(LinePixels(display, 5, 5, 5, 5).empty()); }

TEST_F(DrawLine, HorizontalAndVerticalLinesLeaveOutTheLargerEnd) {
    EXPECT_EQ(LinePixels(display, 0, 0, 3, 0), (Points{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(LinePixels(display, 3, 0, 0, 0), (Points{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(LinePixels(display, 0, 0, 0, 3), (Points{{0, 0}, {0, 1}, {0, 2}}));
}

TEST_F(DrawLine, ShallowLineIsTheSameInBothDirections) {
    Points expected{{0, 0}, {1, 0}, {2, 0}, {3, 1}};
    EXPECT_EQ(LinePixels(display, 0, 0, 3, 1), expected);
    EXPECT_EQ(LinePixels(display, 3, 1, 0, 0), expected);
}

TEST_F(DrawLine, SteepLineTakesYMajorBranchOnEqualSpans) {
    EXPECT_EQ(LinePixels(display, 0, 0, 2, 2), (Points{{0, 0}, {1, 1}, {2, 2}}));
}

TEST_F(DrawLine, SummedSlopeEndsOnePixelShort) {
    Points expected{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1},
                    {6, 1}, {7, 2}, {8, 2}, {9, 2}, {10, 2}};
    EXPECT_EQ(LinePixels(display, 0, 0, 10, 3), expected);
}

TEST_F(DrawLine, TruncationTowardZeroKeepsSmallNegativesOnRowZero) {
    EXPECT_EQ(LinePixels(display, 0, 0, 4, -1), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
}

TEST_F(DrawLine, LinesAreClippedPixelByPixel) {
    Points points = LinePixels(display, -100, 240, 700, 240);
    EXPECT_EQ(points.size(), 640u);
    EXPECT_TRUE(points.count({0, 240}));
    EXPECT_TRUE(points.count({639, 240}));
}

TEST(PutPixel, WritesOnlyInsideTheLockedSurface) {
    testing_support::HeadlessDisplay display;
    Surface& back = *display.screen().backBuffer;
    display.screen().Clear(0);
    back.Lock();
    back.PutPixel(639, 479, 9);
    back.PutPixel(640, 0, 9);
    back.PutPixel(0, 480, 9);
    back.PutPixel(-1, 5, 9);
    back.PutPixel(5, -1, 9);
    back.Unlock();
    auto pixels = testing_support::ReadPixels(back);
    int set = 0;
    for (unsigned char p : pixels) set += p == 9;
    EXPECT_EQ(set, 1);
    EXPECT_EQ(pixels[479 * 640 + 639], 9);
}

TEST(PutPixel, NothingIsWrittenAfterAFailedLock) {
    testing_support::HeadlessDisplay display;
    Surface& back = *display.screen().backBuffer;
    display.screen().Clear(0);
    back.Lock();  // a second lock of a locked surface fails
    Surface alias;
    alias.surface = back.surface;
    EXPECT_NE(alias.Lock(), DD_OK);
    alias.PutPixel(10, 10, 5);
    alias.DrawLine(0, 0, 100, 50, 5);
    alias.surface = nullptr;
    back.Unlock();
    EXPECT_EQ(testing_support::PixelAt(back, 10, 10), 0);
    EXPECT_EQ(testing_support::PixelAt(back, 50, 25), 0);
}

}  // namespace
