// Frames as pictures: an indexed frame with its palette, a colour screenshot, and BMP files of
// both, so frames of the Linux and the Windows build can be kept and compared.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hostkit {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Palette indices, top row first, and the palette in force when the frame was shown.
struct IndexedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    std::array<Rgb, 256> palette{};
};

// Colours, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The frame as a person sees it: every index through the palette.
RgbImage ResolveColours(const IndexedFrame& frame);

// An 8-bit BMP with a 256-entry colour table (40-byte header, bottom-up rows).
std::vector<std::uint8_t> EncodeIndexedBmp(const IndexedFrame& frame);
// A 24-bit BMP (40-byte header, bottom-up rows).
std::vector<std::uint8_t> EncodeRgbBmp(const RgbImage& image);

// Writes the bytes; empty on success, otherwise one line naming the file.
std::string WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace hostkit
