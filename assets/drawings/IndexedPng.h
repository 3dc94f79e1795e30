// An 8-bit indexed image and its PNG file, for looking at the drawings.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace drawings {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // top row first
    std::array<std::array<std::uint8_t, 3>, 256> palette{};
};

bool WriteIndexedPng(const IndexedImage& image, const std::string& file, std::ostream& errors);

}  // namespace drawings
