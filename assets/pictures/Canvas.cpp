// Indexed canvas and ordered dithering.
#include "assets/pictures/Canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

float BayerThreshold(int x, int y) {
    static constexpr int kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    return (static_cast<float>(kBayer[y & 7][x & 7]) + 0.5f) / 64.0f;
}

std::uint8_t DitherIndex(int x, int y, const Ramp& ramp, float value) {
    const int n = static_cast<int>(ramp.Size());
    const float t = std::clamp(value, 0.0f, 1.0f) * static_cast<float>(n - 1);
    int i = static_cast<int>(std::floor(t));
    if (t - static_cast<float>(i) > BayerThreshold(x, y)) {
        ++i;
    }
    return ramp[static_cast<std::size_t>(std::clamp(i, 0, n - 1))];
}

Canvas::Canvas(int width, int height, std::uint8_t fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Canvas::Put(int x, int y, std::uint8_t index) {
    if (Inside(x, y)) {
        pixels_[static_cast<std::size_t>(y) * width_ + x] = index;
    }
}

std::uint8_t Canvas::At(int x, int y) const {
    return Inside(x, y) ? pixels_[static_cast<std::size_t>(y) * width_ + x] : 0;
}

void Canvas::Shade(int x, int y, const Ramp& ramp, float value) {
    if (Inside(x, y) && ramp.Size() > 0) {
        Put(x, y, DitherIndex(x, y, ramp, value));
    }
}

void Canvas::Blit(const Canvas& src, int x, int y, int transparent) {
    for (int sy = 0; sy < src.Height(); ++sy) {
        for (int sx = 0; sx < src.Width(); ++sx) {
            const std::uint8_t v = src.At(sx, sy);
            if (static_cast<int>(v) != transparent) {
                Put(x + sx, y + sy, v);
            }
        }
    }
}

}  // namespace pictures
