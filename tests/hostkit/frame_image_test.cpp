// Frames written as BMP files read back, through the platform's decoder, as they were.
#include <gtest/gtest.h>

#include "hostkit/desktop/frame_image.h"
#include "platform/bmp_decoder.h"

namespace {

// Odd widths make every row need padding to four bytes.
hostkit::IndexedFrame SmallFrame() {
    hostkit::IndexedFrame frame;
    frame.width = 5;
    frame.height = 3;
    for (int i = 0; i < 15; ++i)
        frame.indices.push_back(static_cast<std::uint8_t>(i * 17));
    for (int i = 0; i < 256; ++i) {
        // Distinct values per channel, so a swapped red and blue cannot pass.
        frame.palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i),
                                                      static_cast<std::uint8_t>(255 - i),
                                                      static_cast<std::uint8_t>(i / 2)};
    }
    return frame;
}

TEST(FrameImage, IndexedBmpKeepsIndicesRowsAndPalette) {
    const hostkit::IndexedFrame frame = SmallFrame();
    const platform::BmpDecodeResult decoded = platform::DecodeBmp(hostkit::EncodeIndexedBmp(frame));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.width, 5);
    EXPECT_EQ(decoded.image.height, 3);
    EXPECT_EQ(decoded.image.bitsPerPixel, 8);
    EXPECT_EQ(decoded.image.pixels, frame.indices);
    ASSERT_EQ(decoded.image.colours.size(), 256u);
    EXPECT_EQ(decoded.image.colours[200], (platform::BmpColour{200, 55, 100}));
}

TEST(FrameImage, RgbBmpKeepsEveryColourInPlace) {
    const hostkit::RgbImage image = hostkit::ResolveColours(SmallFrame());
    const platform::BmpDecodeResult decoded = platform::DecodeBmp(hostkit::EncodeRgbBmp(image));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.bitsPerPixel, 24);
    ASSERT_EQ(decoded.image.pixels.size(), 15u * 3);
    for (int i = 0; i < 15; ++i) {
        const hostkit::Rgb want = image.pixels[static_cast<std::size_t>(i)];
        EXPECT_EQ(decoded.image.pixels[3 * i], want.red);
        EXPECT_EQ(decoded.image.pixels[3 * i + 1], want.green);
        EXPECT_EQ(decoded.image.pixels[3 * i + 2], want.blue);
    }
}

TEST(FrameImage, ResolvingLooksEveryIndexUpInThePalette) {
    const hostkit::RgbImage image = hostkit::ResolveColours(SmallFrame());
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.At(1, 0), (hostkit::Rgb{17, 238, 8}));
    EXPECT_EQ(image.At(4, 2), (hostkit::Rgb{238, 17, 119}));
}

TEST(FrameImage, UnwritablePathIsNamed) {
    const std::string error = hostkit::WriteFileBytes("/nonexistent/tolvek/frame.bmp", {1, 2});
    EXPECT_EQ(error.rfind("/nonexistent/tolvek/frame.bmp: cannot write", 0), 0u) << error;
}

}  // namespace
