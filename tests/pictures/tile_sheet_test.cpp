// Tile sheets and sprites: loading, the tile layout, selecting frames and releasing the sheet.
#include <gtest/gtest.h>

#include "graphics/sprite.h"
#include "platform/host_services.h"
#include "tests/pictures/picture_fixtures.h"
#include "tests/support/headless_display.h"

namespace {

using picture_tests::DistinctColours;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

#define EXPECT_RECT(actual, ...) \
    EXPECT_TRUE(SameRect(actual, RECT __VA_ARGS__)) << Show(actual) << " != " #__VA_ARGS__

class TileLayout : public ::testing::Test {
  protected:
    // A sheet of the given size, every pixel index 5.
    std::string SheetFile(int width, int height) {
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height, 5);
        return folder.Write(
            "sheet" + std::to_string(width) + "x" + std::to_string(height) + ".bmp",
            testing_support::Write8BitBmp(width, height, DistinctColours(256), indices));
    }

    testing_support::HeadlessDisplay display;
    testing_support::TempFolder folder;
};

TEST_F(TileLayout, NewSheetDrawsAsOneWholePictureWithoutKey) {
    const std::string path = SheetFile(480, 540);
    TileSheet sheet(&display.screen(), path.c_str(), 240, 180, 6);
    ASSERT_NE(sheet.surface, nullptr);
    EXPECT_EQ(sheet.width, 480);
    EXPECT_EQ(sheet.height, 540);
    EXPECT_EQ(sheet.fileName, path.c_str()) << "the sheet borrows the name";
    EXPECT_EQ(sheet.screen, &display.screen());
    EXPECT_EQ(sheet.tileWidth, 240);
    EXPECT_EQ(sheet.tileHeight, 180);
    EXPECT_EQ(sheet.tileCount, 6);
    EXPECT_EQ(sheet.colorKey, -1);
    EXPECT_RECT(sheet.srcRect, {0, 0, 480, 540});
    EXPECT_RECT(sheet.dstRect, {0, 0, 480, 540});
}

TEST_F(TileLayout, TilesRunLeftToRightThenTopToBottom) {
    const std::string path = SheetFile(480, 540);
    Sprite sprite(&display.screen(), path.c_str(), 240, 180, 6);
    ASSERT_NE(sprite.tileSheet, nullptr);
    const RECT expected[] = {{0, 0, 240, 180},     {240, 0, 480, 180}, {0, 180, 240, 360},
                             {240, 180, 480, 360}, {0, 360, 240, 540}, {240, 360, 480, 540}};
    for (int frame = 0; frame < 6; ++frame) {
        sprite.frame = frame;
        sprite.SelectFrame();
        EXPECT_TRUE(SameRect(sprite.tileSheet->srcRect, expected[frame]))
            << "frame " << frame << ": " << Show(sprite.tileSheet->srcRect);
    }
}

TEST_F(TileLayout, WideSheetPutsTheSecondFrameBesideTheFirst) {
    Sprite sprite(&display.screen(), SheetFile(1280, 480).c_str(), 640, 480, 2);
    sprite.frame = 1;
    sprite.SelectFrame();
    EXPECT_RECT(sprite.tileSheet->srcRect, {640, 0, 1280, 480});
}

TEST_F(TileLayout, DestinationIsTheTileAtTheSpritePosition) {
    Sprite sprite(&display.screen(), SheetFile(480, 540).c_str(), 240, 180, 6);
    sprite.x = 200;
    sprite.y = 150;
    sprite.frame = 3;
    sprite.SelectFrame();
    EXPECT_RECT(sprite.tileSheet->dstRect, {200, 150, 440, 330});
    EXPECT_RECT(sprite.tileSheet->srcRect, {240, 180, 480, 360});
}

TEST_F(TileLayout, ColumnsLeftOverAtTheRightAreNeverShown) {
    Sprite sprite(&display.screen(), SheetFile(250, 300).c_str(), 100, 100, 6);
    const RECT expected[] = {{0, 0, 100, 100}, {100, 0, 200, 100}, {0, 100, 100, 200}};
    for (int frame = 0; frame < 3; ++frame) {
        sprite.frame = frame;
        sprite.SelectFrame();
        EXPECT_TRUE(SameRect(sprite.tileSheet->srcRect, expected[frame])) << "frame " << frame;
    }
}

TEST_F(TileLayout, SheetNarrowerThanOneTileSelectsAndDrawsNothing) {
    Screen& screen = display.screen();
    Sprite sprite(&screen, SheetFile(100, 100).c_str(), 240, 180, 6);
    sprite.x = 10;
    sprite.y = 20;
    sprite.frame = 4;
    sprite.SelectFrame();
    EXPECT_RECT(sprite.tileSheet->srcRect, {0, 0, 0, 0});
    EXPECT_RECT(sprite.tileSheet->dstRect, {10, 20, 250, 200});
    screen.Clear(1);
    EXPECT_EQ(sprite.tileSheet->Draw(screen.backBuffer), DDERR_INVALIDRECT);
    EXPECT_EQ(sprite.tileSheet->DrawKeyedAt(10, 20, screen.backBuffer), DDERR_INVALIDRECT);
    const auto pixels = testing_support::ReadPixels(*screen.backBuffer);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 1), 640 * 480);
}

TEST_F(TileLayout, FrameBeyondTheSheetIsRefusedByTheCopy) {
    Screen& screen = display.screen();
    Sprite sprite(&screen, SheetFile(480, 540).c_str(), 240, 180, 6);
    sprite.frame = 7;
    sprite.SelectFrame();
    EXPECT_RECT(sprite.tileSheet->srcRect, {240, 540, 480, 720});
    EXPECT_EQ(sprite.tileSheet->Draw(screen.backBuffer), DDERR_INVALIDRECT);
}

TEST_F(TileLayout, MissingPictureLeavesAnEmptySheetThatDoesNothing) {
    Screen& screen = display.screen();
    const std::string missing = folder.Path("missing.bmp");
    picture_tests::StderrOf([&] {
        Sprite sprite(&screen, missing.c_str(), 240, 180, 6);
        ASSERT_NE(sprite.tileSheet, nullptr);
        EXPECT_EQ(sprite.tileSheet->surface, nullptr);
        EXPECT_EQ(sprite.tileSheet->width, 0);
        sprite.SelectFrame();
        EXPECT_NE(sprite.tileSheet->SetColorKey(0), DD_OK);
        EXPECT_NE(sprite.tileSheet->Draw(screen.backBuffer), DD_OK);
        TileSheet sheet;
        EXPECT_EQ(sheet.Load(&screen, missing.c_str(), 1, 1, 1), 0);
        EXPECT_EQ(sheet.Load(&screen, nullptr, 1, 1, 1), 0);
    });
}

TEST_F(TileLayout, NullNameGivesNoSheet) {
    Sprite sprite(&display.screen(), nullptr, 240, 180, 6);
    EXPECT_EQ(sprite.tileSheet, nullptr);
    sprite.SelectFrame();
}

TEST_F(TileLayout, DestroyingTheSpriteReleasesItsSheet) {
    const std::string path = SheetFile(64, 32);
    const int before = platform::CountDisplayObjects();
    {
        Sprite sprite(&display.screen(), path.c_str(), 32, 32, 2);
        EXPECT_EQ(platform::CountDisplayObjects(), before + 1);
    }
    EXPECT_EQ(platform::CountDisplayObjects(), before);
}

}  // namespace
