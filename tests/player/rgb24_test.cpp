// The raw RGB bytes piped to the video encoder: three bytes a pixel, red, green, blue.
#include <gtest/gtest.h>

#include <vector>

#include "player/video_encoder.h"

namespace {

// Distinct values per channel, so a swapped red and blue or a shifted index cannot pass.
std::vector<PALETTEENTRY> DistinctPalette() {
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i ^ 0x5A),
                      static_cast<BYTE>((i * 7 + 3) & 0xFF), 0};
    }
    return palette;
}

TEST(Rgb24, EveryPixelIsItsColourRedFirst) {
    const std::vector<PALETTEENTRY> palette = DistinctPalette();
    std::vector<BYTE> pixels(640 * 480);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 31 + i / 640);
    std::vector<unsigned char> rgb(pixels.size() * 3);
    player::ConvertToRgb24(pixels.data(), pixels.size(), palette.data(), rgb.data());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const PALETTEENTRY& colour = palette[pixels[i]];
        ASSERT_EQ(rgb[3 * i], colour.peRed) << "pixel " << i;
        ASSERT_EQ(rgb[3 * i + 1], colour.peGreen) << "pixel " << i;
        ASSERT_EQ(rgb[3 * i + 2], colour.peBlue) << "pixel " << i;
    }
}

// The last pixel is written with three bytes: nothing past the buffer is touched, and short
// frames (one or two pixels) come out whole.
TEST(Rgb24, WritesNothingPastTheLastPixel) {
    const std::vector<PALETTEENTRY> palette = DistinctPalette();
    for (std::size_t count : {1u, 2u, 3u, 7u}) {
        std::vector<BYTE> pixels(count);
        for (std::size_t i = 0; i < count; ++i)
            pixels[i] = static_cast<BYTE>(250 - i);
        std::vector<unsigned char> rgb(count * 3 + 4, 0xEE);
        player::ConvertToRgb24(pixels.data(), count, palette.data(), rgb.data());
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(rgb[3 * i], palette[pixels[i]].peRed);
            EXPECT_EQ(rgb[3 * i + 1], palette[pixels[i]].peGreen);
            EXPECT_EQ(rgb[3 * i + 2], palette[pixels[i]].peBlue);
        }
        for (std::size_t i = count * 3; i < rgb.size(); ++i)
            EXPECT_EQ(rgb[i], 0xEE) << count;
    }
}

}  // namespace
