// An 8-bit indexed picture being drawn, with ordered dithering along colour ramps.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/pictures/Colour.h"

namespace pictures {

// Threshold of the 8x8 Bayer matrix at (x, y), in (0, 1).
float BayerThreshold(int x, int y);

class Canvas {
  public:
    Canvas(int width, int height, std::uint8_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    void Put(int x, int y, std::uint8_t index);
    std::uint8_t At(int x, int y) const;
    // Value 0 is the ramp's darkest entry, 1 its brightest; in between two neighbours are
    // mixed by the Bayer pattern.
    void Shade(int x, int y, const Ramp& ramp, float value);
    // Copies src with its top-left corner at (x, y); transparent index is skipped when >= 0.
    void Blit(const Canvas& src, int x, int y, int transparent = -1);

    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }  // top row first

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

std::uint8_t DitherIndex(int x, int y, const Ramp& ramp, float value);

}  // namespace pictures
