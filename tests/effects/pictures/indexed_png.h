// Writes 8-bit palette-indexed pictures as PNG files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace effect_pictures {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};
using Palette = std::array<Rgb, 256>;

// 3-3-2 bits of red, green and blue per index: every index its own colour, 0 black, 255 white.
Palette ColourCubePalette();

// width x height indices, row after row. On failure prints one line naming the file; false.
bool WriteIndexedPng(const std::string& path, const std::vector<std::uint8_t>& pixels, int width,
                     int height, const Palette& palette);

}  // namespace effect_pictures
