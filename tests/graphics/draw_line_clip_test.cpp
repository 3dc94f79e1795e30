// Surface::DrawLine against the line rule written out pixel by pixel, for lines that cross every
// edge of the surface, lie wholly outside it or run along it: the clipped loops set the same
// pixels as putting every point of the line through the bounds test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "tests/support/headless_display.h"

namespace {

using Points = std::set<std::pair<int, int>>;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// The rule itself: each point of the line through the bounds test, the running coordinate
// summed in double and truncated toward zero.
Points RulePixels(int x1, int y1, int x2, int y2) {
    Points points;
    auto put = [&points](int x, int y) {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
            points.insert({x, y});
    };
    const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
    if (dx == 0) {
        for (int y = std::min(y1, y2); y < std::max(y1, y2); ++y)
            put(x1, y);
    } else if (dy == 0) {
        for (int x = std::min(x1, x2); x < std::max(x1, x2); ++x)
            put(x, y1);
    } else if (dx > dy) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const double slope = static_cast<double>(y2 - y1) / (x2 - x1);
        double yf = y1;
        for (int x = x1; x <= x2; ++x, yf += slope)
            put(x, static_cast<int>(yf));
    } else {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const double slope = static_cast<double>(x2 - x1) / (y2 - y1);
        double xf = x1;
        for (int y = y1; y <= y2; ++y, xf += slope)
            put(static_cast<int>(xf), y);
    }
    return points;
}

class DrawLineClipping : public ::testing::Test {
  protected:
    // Draws one line on a cleared surface; every pixel it touched must hold the colour.
    Points Drawn(int x1, int y1, int x2, int y2) {
        Surface& back = *display.screen().backBuffer;
        display.screen().Clear(0);
        back.Lock();
        back.DrawLine(x1, y1, x2, y2, 9);
        back.Unlock();
        const auto pixels = testing_support::ReadPixels(back);
        Points points;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const unsigned char p = pixels[static_cast<std::size_t>(y) * kWidth + x];
                EXPECT_TRUE(p == 0 || p == 9);
                if (p == 9)
                    points.insert({x, y});
            }
        }
        return points;
    }
    void ExpectRule(int x1, int y1, int x2, int y2) {
        EXPECT_EQ(Drawn(x1, y1, x2, y2), RulePixels(x1, y1, x2, y2))
            << "line (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ")";
    }
    testing_support::HeadlessDisplay display{kWidth, kHeight};
};

TEST_F(DrawLineClipping, FlatLinesCutAtEveryEdgeKeepTheirPixels) {
    for (int y : {-1, 0, 1, kHeight - 1, kHeight}) {
        for (auto [a, b] : {std::pair{-5, 2},
                            {-5, 0},
                            {0, 1},
                            {0, 2},
                            {0, 3},
                            {3, 12},
                            {kWidth - 2, kWidth + 4},
                            {kWidth - 1, kWidth},
                            {-10, kWidth + 10},
                            {kWidth, kWidth + 3},
                            {-3, -1}}) {
            ExpectRule(a, y, b, y);
            ExpectRule(b, y, a, y);
            ExpectRule(y, a, y, b);  // the same spans upright
            ExpectRule(y, b, y, a);
        }
    }
}

TEST_F(DrawLineClipping, SlopedLinesEnteringAndLeavingTheSurfaceKeepTheirSummedSteps) {
    // Steps taken outside the surface still move the running coordinate, so a line that enters
    // from the left or the top must land where the whole line's sum puts it.
    ExpectRule(-37, 3, 50, 20);
    ExpectRule(50, 20, -37, 3);
    ExpectRule(5, -41, 22, 40);
    ExpectRule(22, 40, 5, -41);
    ExpectRule(-1000, -333, 1000, 333);
    ExpectRule(60, 10, 200, 47);
    ExpectRule(10, 40, 30, 300);
    ExpectRule(-20, -20, 100, 100);
}

TEST_F(DrawLineClipping, LinesWhollyOutsideDrawNothing) {
    for (auto [x1, y1, x2, y2] : {std::tuple{-30, 5, -2, 40},
                                  {70, -5, 90, 60},
                                  {0, -10, 63, -2},
                                  {-5, 48, 70, 60},
                                  {100, 100, 300, 120}}) {
        EXPECT_TRUE(Drawn(x1, y1, x2, y2).empty());
        EXPECT_TRUE(RulePixels(x1, y1, x2, y2).empty());
    }
}

TEST_F(DrawLineClipping, ManyLinesAroundTheSurfaceFollowTheRule) {
    std::uint32_t state = 12345;
    auto next = [&state](int low, int high) {
        state = state * 1103515245u + 12345u;
        return low + static_cast<int>((state >> 8) % static_cast<std::uint32_t>(high - low + 1));
    };
    for (int i = 0; i < 600; ++i) {
        const int x1 = next(-40, kWidth + 40);
        const int y1 = next(-40, kHeight + 40);
        // Short steps like the traces', and long lines like the figures'.
        const int reach = i % 2 == 0 ? 3 : 90;
        ExpectRule(x1, y1, x1 + next(-reach, reach), y1 + next(-reach, reach));
    }
}

}  // namespace
