// The contact sheet shows every frame through its own picture's palette.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BmpFile.h"
#include "assets/pictures/ContactSheet.h"

namespace pictures {
namespace {

Picture TwoTiles() {
    Picture p;
    p.fileName = "two.bmp";
    p.width = 4;
    p.height = 2;
    p.tileWidth = 2;
    p.tileHeight = 2;
    p.tileCount = 2;
    p.pixels = {1, 1, 2, 2, 1, 1, 2, 2};
    p.palette[1] = {10, 20, 30};
    p.palette[2] = {200, 100, 50};
    return p;
}

TEST(ContactSheet, ShowsEachTileInItsOwnColours) {
    const std::vector<Picture> pics = {TwoTiles()};
    const RgbImage sheet = RenderContactSheet(pics);
    // Margin 12, tiles 8 apart.
    auto at = [&](int x, int y) {
        return sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x];
    };
    EXPECT_EQ(at(12, 12), (Rgb{10, 20, 30}));
    EXPECT_EQ(at(12 + 2 + 8, 12), (Rgb{200, 100, 50}));
    EXPECT_EQ(sheet.width, 12 + 2 + 8 + 2 + 12);
    EXPECT_EQ(sheet.height, 12 + 2 + 12);
}

TEST(ContactSheet, SingleTilePicturesAlsoAppearEnlarged) {
    Picture leaf = TwoTiles();
    leaf.width = 2;
    leaf.tileCount = 1;
    leaf.pixels = {1, 2, 2, 1};
    const RgbImage sheet = RenderContactSheet({leaf});
    EXPECT_EQ(sheet.width, 12 + 2 + 8 + 8 + 12);
    EXPECT_EQ(sheet.height, 12 + 8 + 12);
}

TEST(ContactSheet, UnwritableFileIsReportedOnOneLine) {
    RgbImage image;
    image.width = 1;
    image.height = 1;
    image.pixels = {Rgb{1, 2, 3}};
    std::ostringstream errors;
    const std::string path = "/nonexistent-folder-for-tolvek/sheet.png";
    EXPECT_FALSE(WritePng(image, path, errors));
    EXPECT_EQ(errors.str(), path + ": cannot open for writing\n");
}

TEST(ContactSheet, WritesAPngFile) {
    RgbImage image;
    image.width = 3;
    image.height = 2;
    image.pixels.assign(6, Rgb{9, 8, 7});
    const auto path = std::filesystem::temp_directory_path() /
                      ("tolvek-contact-sheet-test-" + std::to_string(getpid()) + ".png");
    std::ostringstream errors;
    ASSERT_TRUE(WritePng(image, path.string(), errors)) << errors.str();
    const auto bytes = testing::ReadFileBytes(path.string());
    std::filesystem::remove(path);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(bytes[2], 'N');
    EXPECT_EQ(bytes[3], 'G');
}

TEST(PictureFolder, UnwritableFolderIsReportedOnOneLine) {
    std::ostringstream errors;
    const std::vector<Picture> pics = {TwoTiles()};
    // A file where the folder should be.
    const auto blocker = std::filesystem::temp_directory_path() /
                         ("tolvek-pictures-blocker-" + std::to_string(getpid()));
    std::ofstream(blocker.string()) << "x";
    EXPECT_FALSE(WritePictures(pics, blocker.string(), errors));
    std::filesystem::remove(blocker);
    const std::string said = errors.str();
    EXPECT_NE(said.find("two.bmp: cannot write the picture\n"), std::string::npos);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

}  // namespace
}  // namespace pictures
