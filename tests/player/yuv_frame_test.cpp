// The YUV 4:2:0 pictures piped to the video encoder: the colour matrices' known values, exact
// colours at twice the show's size, and chroma averaged over its four samples otherwise.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "player/render/yuv_frame.h"

namespace {

using player::ColourMatrix;

std::vector<PALETTEENTRY> DistinctPalette() {
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i ^ 0x5A),
                      static_cast<BYTE>((i * 7 + 3) & 0xFF), 0};
    }
    return palette;
}

struct Picture {
    int width;
    int height;
    std::vector<std::uint8_t> bytes;
    std::uint8_t Y(int x, int y) const { return bytes[static_cast<std::size_t>(y * width + x)]; }
    std::uint8_t Cb(int x, int y) const {
        return bytes[static_cast<std::size_t>(width * height + y * (width / 2) + x)];
    }
    std::uint8_t Cr(int x, int y) const {
        return bytes[static_cast<std::size_t>(width * height * 5 / 4 + y * (width / 2) + x)];
    }
};

Picture Convert(const std::vector<BYTE>& pixels, int width, int height,
                const std::vector<PALETTEENTRY>& palette, int outWidth, int outHeight) {
    player::YuvFrameConverter converter(width, height, outWidth, outHeight);
    Picture picture{outWidth, outHeight, {}};
    // One byte past the picture shows a write beyond it.
    picture.bytes.assign(converter.pictureBytes() + 1, 0xEE);
    converter.Convert(pixels.data(), palette.data(), picture.bytes.data());
    EXPECT_EQ(picture.bytes.back(), 0xEE);
    picture.bytes.pop_back();
    return picture;
}

TEST(YuvColours, KnownValuesOfBothMatrices) {
    for (ColourMatrix matrix : {ColourMatrix::kBt601, ColourMatrix::kBt709}) {
        auto black = player::ToYuv({0, 0, 0, 0}, matrix);
        auto white = player::ToYuv({255, 255, 255, 0}, matrix);
        EXPECT_EQ(black.y, 16);
        EXPECT_EQ(black.cb, 128);
        EXPECT_EQ(black.cr, 128);
        EXPECT_EQ(white.y, 235);
        EXPECT_EQ(white.cb, 128);
        EXPECT_EQ(white.cr, 128);
        // Pure blue and red reach the top of their difference channels.
        EXPECT_EQ(player::ToYuv({0, 0, 255, 0}, matrix).cb, 240);
        EXPECT_EQ(player::ToYuv({255, 0, 0, 0}, matrix).cr, 240);
    }
    // Where the two differ: the luma of pure red, green and blue.
    EXPECT_EQ(player::ToYuv({255, 0, 0, 0}, ColourMatrix::kBt601).y, 81);
    EXPECT_EQ(player::ToYuv({0, 255, 0, 0}, ColourMatrix::kBt601).y, 145);
    EXPECT_EQ(player::ToYuv({0, 0, 255, 0}, ColourMatrix::kBt601).y, 41);
    EXPECT_EQ(player::ToYuv({255, 0, 0, 0}, ColourMatrix::kBt709).y, 63);
    EXPECT_EQ(player::ToYuv({0, 255, 0, 0}, ColourMatrix::kBt709).y, 173);
    EXPECT_EQ(player::ToYuv({0, 0, 255, 0}, ColourMatrix::kBt709).y, 32);
    EXPECT_EQ(player::MatrixForHeight(480), ColourMatrix::kBt601);
    EXPECT_EQ(player::MatrixForHeight(720), ColourMatrix::kBt709);
    EXPECT_EQ(player::MatrixForHeight(960), ColourMatrix::kBt709);
}

// At 1280x960 every sample, luma and chroma, is the colour of the show pixel it covers.
TEST(YuvFrame, TwiceTheSizeIsExactEverywhere) {
    const auto palette = DistinctPalette();
    std::vector<BYTE> pixels(640 * 480);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 31 + i / 640);
    const Picture picture = Convert(pixels, 640, 480, palette, 1280, 960);
    for (int y = 0; y < 960; ++y) {
        for (int x = 0; x < 1280; ++x) {
            const BYTE index = pixels[static_cast<std::size_t>(y / 2 * 640 + x / 2)];
            ASSERT_EQ(picture.Y(x, y), player::ToYuv(palette[index], ColourMatrix::kBt709).y)
                << x << "," << y;
        }
    }
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const auto colour = player::ToYuv(
                palette[pixels[static_cast<std::size_t>(y * 640 + x)]], ColourMatrix::kBt709);
            ASSERT_EQ(picture.Cb(x, y), colour.cb) << x << "," << y;
            ASSERT_EQ(picture.Cr(x, y), colour.cr) << x << "," << y;
        }
    }
}

// At the show's own size each chroma sample is the rounded mean of its 2x2 pixels' chroma, and
// the matrix for fewer than 720 lines is BT.601.
TEST(YuvFrame, SameSizeAveragesChromaOverFourPixels) {
    const auto palette = DistinctPalette();
    const std::vector<BYTE> pixels = {
        1, 1, 200, 7,   //
        1, 1, 9,   90,  //
        5, 6, 30,  30,  //
        7, 8, 30,  30,  //
    };
    const Picture picture = Convert(pixels, 4, 4, palette, 4, 4);
    auto yuv = [&](BYTE index) { return player::ToYuv(palette[index], ColourMatrix::kBt601); };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(picture.Y(i % 4, i / 4), yuv(pixels[static_cast<std::size_t>(i)]).y) << i;
    EXPECT_EQ(picture.Cb(0, 0), yuv(1).cb);
    EXPECT_EQ(picture.Cr(1, 1), yuv(30).cr);
    auto mean = [&](std::initializer_list<BYTE> four, bool blue) {
        int sum = 0;
        for (BYTE index : four)
            sum += blue ? yuv(index).cb : yuv(index).cr;
        return (sum + 2) / 4;
    };
    EXPECT_EQ(picture.Cb(1, 0), mean({200, 7, 9, 90}, true));
    EXPECT_EQ(picture.Cr(1, 0), mean({200, 7, 9, 90}, false));
    EXPECT_EQ(picture.Cb(0, 1), mean({5, 6, 7, 8}, true));
    EXPECT_EQ(picture.Cr(0, 1), mean({5, 6, 7, 8}, false));
}

// Sizes that are no whole multiple: each sample takes the show pixel under its centre, never one
// beyond the frame, and a new palette gives new colours to the same indices.
TEST(YuvFrame, OddScalesTakeThePixelUnderEachCentreAndFollowThePalette) {
    auto palette = DistinctPalette();
    std::vector<BYTE> pixels(10 * 6);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i);
    player::YuvFrameConverter converter(10, 6, 16, 8);
    std::vector<std::uint8_t> bytes(converter.pictureBytes());
    ASSERT_EQ(bytes.size(), 16u * 8u * 3u / 2u);
    for (int pass = 0; pass < 2; ++pass) {
        converter.Convert(pixels.data(), palette.data(), bytes.data());
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int column = (2 * x + 1) * 10 / 32;
                const int row = (2 * y + 1) * 6 / 16;
                EXPECT_EQ(
                    bytes[static_cast<std::size_t>(y * 16 + x)],
                    player::ToYuv(palette[pixels[static_cast<std::size_t>(row * 10 + column)]],
                                  ColourMatrix::kBt601)
                        .y)
                    << pass << ": " << x << "," << y;
            }
        }
        for (auto& colour : palette)
            colour = {static_cast<BYTE>(255 - colour.peRed), colour.peBlue, colour.peGreen, 0};
    }
    // Shrinking to a quarter stays inside the frame too.
    const Picture small = Convert(pixels, 10, 6, palette, 2, 2);
    EXPECT_EQ(small.Y(1, 1), player::ToYuv(palette[pixels[4 * 10 + 7]], ColourMatrix::kBt601).y);
}

TEST(YuvFrame, AnotherShapeKeepsTheFramesAndLeavesBlackBars) {
    EXPECT_EQ(player::FitPicture(640, 480, 1920, 1080), (player::PictureRect{240, 0, 1440, 1080}));
    EXPECT_EQ(player::FitPicture(640, 480, 1280, 720), (player::PictureRect{160, 0, 960, 720}));
    EXPECT_EQ(player::FitPicture(640, 480, 1920, 1200), (player::PictureRect{160, 0, 1600, 1200}));
    EXPECT_EQ(player::FitPicture(640, 480, 2560, 1080), (player::PictureRect{560, 0, 1440, 1080}));
    EXPECT_EQ(player::FitPicture(640, 480, 1080, 1080), (player::PictureRect{0, 134, 1080, 810}));
    EXPECT_EQ(player::FitPicture(640, 480, 1280, 960), (player::PictureRect{0, 0, 1280, 960}));

    // A white 4x2 frame in an 8x2 picture lies at x = 2..5; the rest is black (Y 16, and Cb and
    // Cr 128 like the white's), nothing left as it was.
    std::vector<BYTE> pixels(4 * 2, 1);
    PALETTEENTRY palette[256]{};
    palette[1] = {255, 255, 255, 0};
    const player::PictureRect rect = player::FitPicture(4, 2, 8, 2);
    ASSERT_EQ(rect, (player::PictureRect{2, 0, 4, 2}));
    player::YuvFrameConverter converter(4, 2, 8, 2, rect);
    std::vector<std::uint8_t> picture(converter.pictureBytes(), 0xAA);
    converter.Convert(pixels.data(), palette, picture.data());
    const std::vector<std::uint8_t> luma(picture.begin(), picture.begin() + 16);
    EXPECT_EQ(luma, (std::vector<std::uint8_t>{16, 16, 235, 235, 235, 235, 16, 16, 16, 16, 235, 235,
                                               235, 235, 16, 16}));
    const std::vector<std::uint8_t> chroma(picture.begin() + 16, picture.end());
    EXPECT_EQ(chroma, std::vector<std::uint8_t>(8, 128));
}

}  // namespace
