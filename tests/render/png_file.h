// Reading a PNG file back for the tests: its header, palette and 8-bit pixel values as stored.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace render_testing {

struct PngFile {
    std::string error;  // empty when the file was read
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = -1;
    std::vector<std::array<unsigned char, 3>> palette;
    std::vector<unsigned char> pixels;  // width * height values, rows top to bottom

    unsigned char At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads an 8-bit PNG without any conversion (palette images keep their indices).
PngFile ReadPng(const std::string& path);

// A row of one value from x = 0 to x = `toX` inclusive: how a resting scope trace looks.
bool RowIsOneValue(const PngFile& png, int y, int toX);

// The whole file's bytes.
std::string FileBytes(const std::string& path);

}  // namespace render_testing
