// Writes 8-bit BMP files: file header, 40-byte information header, 256 colours, bottom-up rows.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/pictures/Colour.h"

namespace pictures {

constexpr int kBmpHeaderBytes = 14 + 40 + 256 * 4;

// pixels: width * height indices, top row first.
std::vector<std::uint8_t> EncodeBmp(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    const Palette& palette);

}  // namespace pictures
