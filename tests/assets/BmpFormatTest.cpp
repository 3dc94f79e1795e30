// The written files are plain 8-bit BMPs of the sizes the show cuts into tiles.
#include <gtest/gtest.h>

#include <algorithm>

#include "PackFixture.h"
#include "assets/pictures/Bmp.h"

namespace pictures::testing {
namespace {

struct Expected {
    const char* name;
    int tileWidth;
    int tileHeight;
    int tiles;
};

constexpr Expected kExpected[] = {
    {"chick256.bmp", 640, 480, 2}, {"flwr256.bmp", 640, 480, 2}, {"star256.bmp", 640, 480, 2},
    {"hors256.bmp", 640, 480, 2},  {"ebrd256.bmp", 240, 180, 6}, {"sflwr256.bmp", 240, 180, 6},
    {"tig256.bmp", 240, 180, 6},   {"zeb256.bmp", 240, 180, 6},  {"sLeaf.bmp", 32, 32, 1}};

TEST(PictureFiles, AllNineAreWrittenUnderTheirNames) {
    const Pack& pack = WrittenPack();
    for (const std::string& name : PictureNames()) {
        EXPECT_EQ(pack.files.count(name), 1u) << name << " missing or unreadable";
    }
}

TEST(PictureFiles, HeadersAreEightBitWithAFullColourTable) {
    for (const auto& [name, f] : WrittenPack().files) {
        SCOPED_TRACE(name);
        const std::uint32_t stride = (static_cast<std::uint32_t>(f.width) + 3u) & ~3u;
        EXPECT_EQ(f.headerSize, 40u);
        EXPECT_EQ(f.planes, 1);
        EXPECT_EQ(f.bitCount, 8);
        EXPECT_EQ(f.compression, 0u);
        EXPECT_EQ(f.colourCount, 0u);
        EXPECT_EQ(f.pixelOffset, 14u + 40u + 1024u);
        EXPECT_EQ(f.fileSize, f.pixelOffset + stride * static_cast<std::uint32_t>(f.height));
        EXPECT_TRUE(
            std::all_of(f.reserved.begin(), f.reserved.end(), [](auto b) { return b == 0; }));
        EXPECT_TRUE(std::all_of(f.padding.begin(), f.padding.end(), [](auto b) { return b == 0; }));
    }
}

TEST(PictureFiles, SheetsHoldTheShowsTilesLeftToRightThenDown) {
    const Pack& pack = WrittenPack();
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.name);
        const BmpFile& f = pack.files.at(e.name);
        ASSERT_EQ(f.width % e.tileWidth, 0);
        ASSERT_EQ(f.height % e.tileHeight, 0);
        const int perRow = f.width / e.tileWidth;
        EXPECT_GE(perRow * (f.height / e.tileHeight), e.tiles);
        // No spare tiles: the last row is needed.
        EXPECT_GT(e.tiles, perRow * (f.height / e.tileHeight - 1));
    }
    EXPECT_EQ(pack.files.at("chick256.bmp").width, 1280);
    EXPECT_EQ(pack.files.at("ebrd256.bmp").width, 480);
    EXPECT_EQ(pack.files.at("ebrd256.bmp").height, 540);
}

TEST(PictureFiles, WrittenSizeMatchesTheEncodedBytes) {
    for (const Picture& p : WrittenPack().pictures) {
        EXPECT_EQ(EncodePicture(p).size(), WrittenPack().files.at(p.fileName).fileSize)
            << p.fileName;
    }
}

TEST(PictureFiles, RowsAreStoredBottomUp) {
    // A 3x2 picture: the file stores the bottom row first, padded to four bytes.
    Palette palette{};
    const auto bytes = EncodeBmp(3, 2, {1, 2, 3, 4, 5, 6}, palette);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(kBmpHeaderBytes + 8));
    const std::vector<std::uint8_t> rows(bytes.begin() + kBmpHeaderBytes, bytes.end());
    EXPECT_EQ(rows, (std::vector<std::uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(PictureFiles, ColourTableIsBlueGreenRed) {
    Palette palette{};
    palette[1] = {0x11, 0x22, 0x33};
    const auto bytes = EncodeBmp(1, 1, {1}, palette);
    EXPECT_EQ(bytes[54 + 4], 0x33);
    EXPECT_EQ(bytes[54 + 5], 0x22);
    EXPECT_EQ(bytes[54 + 6], 0x11);
    EXPECT_EQ(bytes[54 + 7], 0x00);
}

TEST(PictureFiles, GeneratorIsDeterministic) {
    const std::vector<Picture> again = MakePictures();
    const Pack& pack = WrittenPack();
    ASSERT_EQ(again.size(), pack.pictures.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_TRUE(EncodePicture(again[i]) == EncodePicture(pack.pictures[i]))
            << again[i].fileName << " differs between two runs";
    }
}

}  // namespace
}  // namespace pictures::testing
