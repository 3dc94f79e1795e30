// PixelField: 10000 pixels in a fixed random pattern that shimmer by borrowing each other's
// heights.
#pragma once

#include <array>

#include "effects/effect_constants.h"

class Screen;

class PixelField {
  public:
    struct Point {
        int x;
        int y;
    };

    // Seeds the show's generator from the clock, then draws the pattern: x before y for each
    // point, 20000 values in all.
    explicit PixelField(Screen* screen);

    // One frame of the field inside one lock of the back buffer.
    void Draw();

    Screen* screen = nullptr;  // not owned
    std::array<Point, kPixelFieldPoints> points{};
    int drawCount = 0;
};
