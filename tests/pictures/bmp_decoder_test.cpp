// Decoding each BMP variant against a known picture, and refusing broken ones without reading
// past the buffer.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/bmp_decoder.h"
#include "tests/pictures/picture_fixtures.h"

namespace {

using picture_tests::DistinctColours;
using picture_tests::KnownColours;
using picture_tests::KnownIndices;
using platform::BmpColour;
using platform::DecodeBmp;
using testing_support::BmpFields;
using testing_support::Rgb;
using testing_support::WriteBmp;

// Odd sizes, so every bit depth needs row padding.
constexpr int kWidth = 7;
constexpr int kHeight = 5;

BmpFields IndexedFields(int bitCount, bool topDown, std::uint32_t headerSize = 40) {
    const int n = 1 << bitCount;
    BmpFields f;
    f.width = kWidth;
    f.height = topDown ? -kHeight : kHeight;
    f.bitCount = static_cast<std::uint16_t>(bitCount);
    f.headerSize = headerSize;
    f.colours = DistinctColours(n);
    f.pixelData = testing_support::PackIndexedRows(KnownIndices(kWidth, kHeight, n), kWidth,
                                                   kHeight, bitCount, topDown);
    return f;
}

BmpFields ColourFields(int bitCount, bool topDown, std::uint32_t headerSize = 40) {
    BmpFields f;
    f.width = kWidth;
    f.height = topDown ? -kHeight : kHeight;
    f.bitCount = static_cast<std::uint16_t>(bitCount);
    f.headerSize = headerSize;
    f.pixelData = testing_support::PackColourRows(KnownColours(kWidth, kHeight), kWidth, kHeight,
                                                  bitCount, topDown);
    return f;
}

std::vector<std::uint8_t> RgbBytes(const std::vector<Rgb>& pixels) {
    std::vector<std::uint8_t> bytes;
    for (const Rgb& p : pixels)
        bytes.insert(bytes.end(), {p.red, p.green, p.blue});
    return bytes;
}

std::vector<BmpColour> AsTable(const std::vector<Rgb>& colours) {
    std::vector<BmpColour> table;
    for (const Rgb& c : colours)
        table.push_back(BmpColour{c.red, c.green, c.blue});
    return table;
}

void ExpectKnownIndexedPicture(const BmpFields& fields) {
    const int n = 1 << fields.bitCount;
    auto result = DecodeBmp(WriteBmp(fields));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.image.width, kWidth);
    EXPECT_EQ(result.image.height, kHeight);
    EXPECT_EQ(result.image.bitsPerPixel, fields.bitCount);
    EXPECT_TRUE(result.image.indexed);
    EXPECT_EQ(result.image.colours, AsTable(DistinctColours(n)));
    EXPECT_EQ(result.image.pixels, KnownIndices(kWidth, kHeight, n));
}

void ExpectKnownColourPicture(const BmpFields& fields) {
    auto result = DecodeBmp(WriteBmp(fields));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.image.width, kWidth);
    EXPECT_EQ(result.image.height, kHeight);
    EXPECT_FALSE(result.image.indexed);
    EXPECT_TRUE(result.image.colours.empty());
    EXPECT_EQ(result.image.pixels, RgbBytes(KnownColours(kWidth, kHeight)));
}

TEST(DecodeBmp, IndexedPicturesGiveRowsInDisplayOrderBothWaysUp) {
    for (int bits : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, top-down " + std::to_string(topDown));
            ExpectKnownIndexedPicture(IndexedFields(bits, topDown));
        }
    }
}

TEST(DecodeBmp, LongerHeadersDecodeTheSamePicture) {
    for (std::uint32_t header : {40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE("header " + std::to_string(header));
        ExpectKnownIndexedPicture(IndexedFields(8, false, header));
        ExpectKnownColourPicture(ColourFields(24, true, header));
    }
}

TEST(DecodeBmp, TrueColourPicturesKeepRedAndBlueApart) {
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, top-down " + std::to_string(topDown));
            ExpectKnownColourPicture(ColourFields(bits, topDown));
        }
    }
}

TEST(DecodeBmp, BitFieldMasksPlaceEachChannel) {
    // 32 bits with the channels in an unusual order: red low, blue high.
    std::vector<std::uint8_t> data;
    for (const Rgb& p : KnownColours(kWidth, kHeight))
        data.insert(data.end(), {p.red, p.green, p.blue, 0});
    for (std::uint32_t header : {40u, 108u, 124u}) {
        SCOPED_TRACE("header " + std::to_string(header));
        BmpFields f;
        f.width = kWidth;
        f.height = -kHeight;
        f.bitCount = 32;
        f.compression = 3;
        f.headerSize = header;
        f.masksAfterHeader = header == 40;
        f.masks[0] = 0x000000FF, f.masks[1] = 0x0000FF00, f.masks[2] = 0x00FF0000;
        f.pixelData = data;
        ExpectKnownColourPicture(f);
    }
}

TEST(DecodeBmp, SixteenBitPixelsScaleTheirChannels) {
    // One row: white, pure red, pure green, pure blue, a mid grey.
    const std::uint16_t rgb555[] = {0x7FFF, 0x7C00, 0x03E0, 0x001F, (16 << 10) | (16 << 5) | 16};
    const std::uint16_t rgb565[] = {0xFFFF, 0xF800, 0x07E0, 0x001F, (16 << 11) | (32 << 5) | 16};
    for (bool fields565 : {false, true}) {
        BmpFields f;
        f.width = 5;
        f.height = 1;
        f.bitCount = 16;
        if (fields565) {
            f.compression = 3;
            f.masksAfterHeader = true;
            f.masks[0] = 0xF800, f.masks[1] = 0x07E0, f.masks[2] = 0x001F;
        }
        for (std::uint16_t v : fields565 ? rgb565 : rgb555) {
            f.pixelData.push_back(static_cast<std::uint8_t>(v));
            f.pixelData.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        f.pixelData.resize(12, 0);
        auto result = DecodeBmp(WriteBmp(f));
        ASSERT_TRUE(result.ok()) << result.error;
        // Five bits of 16 scale to 132, six bits of 32 to 130.
        const std::uint8_t greyGreen = fields565 ? 130 : 132;
        const std::vector<std::uint8_t> expected = {255, 255, 255, 255, 0,   0,         0,  255,
                                                    0,   0,   0,   255, 132, greyGreen, 132};
        EXPECT_EQ(result.image.pixels, expected) << "5-6-5 masks: " << fields565;
    }
}

TEST(DecodeBmp, ClrUsedShortensTheColourTable) {
    BmpFields f = IndexedFields(8, false);
    f.colours = DistinctColours(3);
    f.clrUsed = 3;
    f.pixelData = testing_support::PackIndexedRows(KnownIndices(kWidth, kHeight, 3), kWidth,
                                                   kHeight, 8, false);
    auto result = DecodeBmp(WriteBmp(f));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.image.colours, AsTable(DistinctColours(3)));
    EXPECT_EQ(result.image.pixels, KnownIndices(kWidth, kHeight, 3));
}

TEST(DecodeBmp, RunLengthPicturesMatchThePlainOnes) {
    // Long runs and mixed stretches, wider than one run of 255.
    const int width = 300;
    const int height = 4;
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            indices.push_back(static_cast<std::uint8_t>(x < 200 ? y : (x * 7 + y) % 16));
    }
    for (int bits : {8, 4}) {
        SCOPED_TRACE(std::to_string(bits) + " bits");
        BmpFields f;
        f.width = width;
        f.height = height;
        f.bitCount = static_cast<std::uint16_t>(bits);
        f.compression = bits == 8 ? 1 : 2;
        f.colours = DistinctColours(1 << bits);
        f.pixelData = bits == 8 ? testing_support::EncodeRle8(indices, width, height)
                                : testing_support::EncodeRle4(indices, width, height);
        f.sizeImage = static_cast<std::uint32_t>(f.pixelData.size());
        auto result = DecodeBmp(WriteBmp(f));
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(result.image.pixels, indices);
    }
}

TEST(DecodeBmp, RunLengthJumpsLeaveSkippedPixelsAtZeroAndOverlongRunsAreClipped) {
    BmpFields f;
    f.width = 4;
    f.height = 3;
    f.bitCount = 8;
    f.compression = 1;
    f.colours = DistinctColours(256);
    // Bottom row: a run of 9 (clipped to 4). Then jump 2 right and 1 up: the middle row is
    // skipped up to column 2 of the top row, where a literal of 3 runs past the edge.
    f.pixelData = {9, 7, 0, 0, 0, 2, 2, 1, 0, 3, 1, 2, 3, 0, 0, 1};
    auto result = DecodeBmp(WriteBmp(f));
    ASSERT_TRUE(result.ok()) << result.error;
    const std::vector<std::uint8_t> expected = {0, 0, 1, 2, 0, 0, 0, 0, 7, 7, 7, 7};
    EXPECT_EQ(result.image.pixels, expected);
}

struct BadPicture {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* reason;  // part of the error text
};

std::vector<BadPicture> BadPictures() {
    std::vector<BadPicture> cases;
    auto with = [](auto change) {
        BmpFields f = IndexedFields(8, false);
        change(f);
        return WriteBmp(f);
    };
    const auto good = WriteBmp(IndexedFields(8, false));
    cases.push_back({"empty", {}, "too short"});
    cases.push_back({"no signature", with([](BmpFields&) {}), ""});
    cases.back().bytes[0] = 'X';
    cases.back().reason = "not a BMP";
    cases.push_back(
        {"core header", with([](BmpFields& f) { f.headerSize = 12; }), "header size 12"});
    cases.push_back({"header cut", {good.begin(), good.begin() + 40}, "header cut short"});
    cases.push_back({"zero width", with([](BmpFields& f) { f.width = 0; }), "width is 0"});
    cases.push_back({"negative width", with([](BmpFields& f) { f.width = -7; }), "negative width"});
    cases.push_back({"zero height", with([](BmpFields& f) { f.height = 0; }), "height is 0"});
    cases.push_back(
        {"lowest height", with([](BmpFields& f) { f.height = INT_MIN; }), "out of range"});
    cases.push_back({"too wide", with([](BmpFields& f) { f.width = 16385; }), "over 16384"});
    cases.push_back(
        {"too tall top-down", with([](BmpFields& f) { f.height = -16385; }), "over 16384"});
    cases.push_back(
        {"too many pixels", with([](BmpFields& f) { f.width = f.height = 16384; }), "64 Mi"});
    cases.push_back({"two bits", with([](BmpFields& f) { f.bitCount = 2; }), "bit count 2"});
    cases.push_back({"JPEG", with([](BmpFields& f) { f.compression = 4; }), "compression JPEG"});
    cases.push_back({"RLE8 at 4 bits",
                     with([](BmpFields& f) { f.compression = 1, f.bitCount = 4; }), "RLE8 with 4"});
    cases.push_back(
        {"top-down RLE", with([](BmpFields& f) { f.compression = 1, f.height = -5; }), "top-down"});
    cases.push_back(
        {"table cut", {good.begin(), good.begin() + 54 + 500}, "colour table cut short"});
    cases.push_back({"offset inside table", with([](BmpFields& f) { f.offBitsOverride = 60; }),
                     "inside the headers"});
    cases.push_back({"offset past end", with([](BmpFields& f) { f.offBitsOverride = 1 << 30; }),
                     "past the end"});
    cases.push_back({"pixels cut", {good.begin(), good.end() - 1}, "pixel data cut short"});
    cases.push_back({"compressed size lies", with([](BmpFields& f) {
                         f.compression = 1, f.sizeImage = 1000, f.pixelData = {0, 1};
                     }),
                     "runs past the end"});
    cases.push_back({"no end mark", with([](BmpFields& f) {
                         f.compression = 1, f.pixelData = {7, 1, 0, 0};
                     }),
                     "ends before its end mark"});
    cases.push_back({"literal cut", with([](BmpFields& f) {
                         f.compression = 1, f.pixelData = {0, 6, 1, 2};
                     }),
                     "inside a literal run"});
    cases.push_back({"jump cut", with([](BmpFields& f) {
                         f.compression = 1, f.pixelData = {0, 2, 1};
                     }),
                     "inside a jump"});
    cases.push_back({"broken mask", with([](BmpFields& f) {
                         f.bitCount = 32, f.compression = 3, f.masksAfterHeader = true;
                         f.colours.clear();
                         f.masks[0] = 0x00F0F000;
                         f.pixelData.assign(7 * 5 * 4, 0);
                     }),
                     "not one run of bits"});
    return cases;
}

TEST(DecodeBmp, RefusesEveryBrokenPictureWithAReason) {
    for (const BadPicture& bad : BadPictures()) {
        auto result = DecodeBmp(bad.bytes);
        EXPECT_FALSE(result.ok()) << bad.what;
        EXPECT_NE(result.error.find(bad.reason), std::string::npos)
            << bad.what << ": " << result.error;
        EXPECT_TRUE(result.image.pixels.empty()) << bad.what;
    }
}

TEST(DecodeBmp, EveryTruncationIsRefused) {
    BmpFields rle = IndexedFields(8, false);
    rle.compression = 1;
    rle.pixelData =
        testing_support::EncodeRle8(KnownIndices(kWidth, kHeight, 256), kWidth, kHeight);
    const std::vector<std::vector<std::uint8_t>> files = {
        WriteBmp(IndexedFields(1, false)), WriteBmp(IndexedFields(4, true)),
        WriteBmp(ColourFields(24, false)), WriteBmp(ColourFields(32, true, 124)), WriteBmp(rle)};
    for (const auto& file : files) {
        ASSERT_TRUE(DecodeBmp(file).ok());
        for (std::size_t size = 0; size < file.size(); ++size) {
            // A copy of exactly `size` bytes, so a read past it is caught by the sanitizers.
            std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<long>(size));
            EXPECT_FALSE(DecodeBmp(cut).ok()) << "cut to " << size << " of " << file.size();
        }
    }
}

TEST(DecodeBmp, ScrambledBytesNeverCrash) {
    std::mt19937 random(20240601);
    BmpFields rle = IndexedFields(4, false);
    rle.compression = 2;
    rle.pixelData = testing_support::EncodeRle4(KnownIndices(kWidth, kHeight, 16), kWidth, kHeight);
    const std::vector<std::vector<std::uint8_t>> seeds = {
        WriteBmp(IndexedFields(8, false)), WriteBmp(ColourFields(32, false, 108)), WriteBmp(rle)};
    int decoded = 0;
    for (const auto& seed : seeds) {
        for (int round = 0; round < 2000; ++round) {
            std::vector<std::uint8_t> bytes = seed;
            for (int flips = 1 + round % 4; flips > 0; --flips) {
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            }
            auto result = DecodeBmp(bytes);
            if (!result.ok())
                continue;
            ++decoded;
            const std::size_t perPixel = result.image.indexed ? 1 : 3;
            EXPECT_EQ(result.image.pixels.size(), static_cast<std::size_t>(result.image.width) *
                                                      result.image.height * perPixel);
        }
    }
    // Most single-byte changes land in pixels and still decode.
    EXPECT_GT(decoded, 1000);
}

}  // namespace
