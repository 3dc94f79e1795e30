// Reads back the generator's 8-bit BMP files the way the show does: the colour table as the
// palette reader takes it from a file, and the pixel indices in display order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assets/pictures/Colour.h"

namespace pictures::testing {

struct BmpFile {
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colourCount = 0;       // biClrUsed
    Palette palette{};                   // red, green, blue from the table's blue, green, red
    std::vector<std::uint8_t> reserved;  // fourth byte of each colour-table entry
    std::vector<std::uint8_t> pixels;    // top row first
    std::vector<std::uint8_t> padding;   // every row-padding byte
};

// Empty when the bytes are not an uncompressed 8-bit BMP with a 40-byte header.
std::optional<BmpFile> ParseBmp(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace pictures::testing
