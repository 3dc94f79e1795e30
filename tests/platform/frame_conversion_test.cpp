// The presentation's conversion of palette indices to 32-bit pixels through the lookup table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/portable/frame_conversion.h"

namespace {

using platform::detail::BuildLookup;
using platform::detail::ConvertIndexedFrame;

// Distinct red, green and blue per entry, so a swapped channel or a shifted index cannot pass.
std::vector<PALETTEENTRY> DistinctPalette() {
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                      static_cast<BYTE>((i * 37) & 0xFF), 0};
    }
    return palette;
}

TEST(FrameConversion, LookupIsOpaqueRedGreenBlueInThatOrder) {
    std::vector<PALETTEENTRY> palette(256);
    palette[7] = {0x12, 0x34, 0x56, 0};
    std::uint32_t lookup[256];
    BuildLookup(palette.data(), lookup);
    EXPECT_EQ(lookup[7], 0xFF123456u);
    EXPECT_EQ(lookup[0], 0xFF000000u);
}

// Widths below, at and past a multiple of eight, rows with spare bytes and an output pitch wider
// than the frame: every pixel is its own index's colour and nothing past a row is written.
TEST(FrameConversion, EveryPixelOfOddWidthsAndPitchesGoesThroughTheTable) {
    const std::vector<PALETTEENTRY> palette = DistinctPalette();
    std::uint32_t lookup[256];
    BuildLookup(palette.data(), lookup);
    constexpr std::uint32_t kUntouched = 0xDEADBEEFu;
    for (int width : {1, 7, 8, 9, 15, 16, 17, 640}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const int height = 3;
        const int pitch = width + 5;
        const int outPitch = width + 3;
        std::vector<BYTE> pixels(static_cast<std::size_t>(pitch) * height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<BYTE>(i * 101 + 13);
        }
        std::vector<std::uint32_t> out(static_cast<std::size_t>(outPitch) * height, kUntouched);
        ConvertIndexedFrame(pixels.data(), pitch, width, height, lookup, out.data(), outPitch);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const BYTE index = pixels[static_cast<std::size_t>(y) * pitch + x];
                ASSERT_EQ(out[static_cast<std::size_t>(y) * outPitch + x], lookup[index])
                    << "pixel " << x << "," << y;
            }
            for (int x = width; x < outPitch; ++x) {
                ASSERT_EQ(out[static_cast<std::size_t>(y) * outPitch + x], kUntouched);
            }
        }
    }
}

TEST(FrameConversion, AllIndicesInOneRowKeepTheirOrder) {
    const std::vector<PALETTEENTRY> palette = DistinctPalette();
    std::uint32_t lookup[256];
    BuildLookup(palette.data(), lookup);
    std::vector<BYTE> row(256);
    for (int i = 0; i < 256; ++i)
        row[i] = static_cast<BYTE>(255 - i);
    std::vector<std::uint32_t> out(256);
    ConvertIndexedFrame(row.data(), 256, 256, 1, lookup, out.data(), 256);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = palette[255 - i];
        EXPECT_EQ(out[i], 0xFF000000u | (e.peRed << 16) | (e.peGreen << 8) | e.peBlue);
    }
}

}  // namespace
