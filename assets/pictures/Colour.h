// RGB colours, palettes of 256 of them and ramps of palette indices.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pictures {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

using Palette = std::array<Rgb, 256>;

// Palette indices ordered from dark to bright; painting picks between neighbours by dithering.
struct Ramp {
    std::vector<std::uint8_t> index;
    std::size_t Size() const { return index.size(); }
    std::uint8_t operator[](std::size_t i) const { return index[i]; }
    std::uint8_t Darkest() const { return index.front(); }
    std::uint8_t Brightest() const { return index.back(); }
};

// n colours spread evenly along a polyline through the given key colours.
std::vector<Rgb> Gradient(std::initializer_list<Rgb> keys, int n);

}  // namespace pictures
