// AnimatedSprite: stepping forward, backward and back and forth, scaling, centring, keyed copies,
// the palette it installs and the reload of a lost sheet.
#include <gtest/gtest.h>

#include <algorithm>

#include "effects/animated_sprite.h"
#include "platform/host_services.h"
#include "tests/pictures/picture_fixtures.h"
#include "tests/support/headless_display.h"

namespace {

using picture_tests::DistinctColours;
using picture_tests::PaletteOf;
using testing_support::Rgb;

constexpr int kBackground = 1;
constexpr int kFirstTileIndex = 10;

// A strip of `count` tiles, `perRow` to a row; tile n is index 10 + n with a 10 x 10 block of
// index 0 in its top-left corner.
std::vector<std::uint8_t> StripIndices(int tileWidth, int tileHeight, int count, int perRow) {
    const int rows = (count + perRow - 1) / perRow;
    const int width = tileWidth * perRow;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * tileHeight * rows, 0);
    for (int n = 0; n < count; ++n) {
        const int left = (n % perRow) * tileWidth;
        const int top = (n / perRow) * tileHeight;
        for (int y = 0; y < tileHeight; ++y) {
            for (int x = 0; x < tileWidth; ++x) {
                indices[static_cast<std::size_t>(top + y) * width + left + x] =
                    x < 10 && y < 10 ? 0 : static_cast<std::uint8_t>(kFirstTileIndex + n);
            }
        }
    }
    return indices;
}

class AnimatedSpriteTest : public ::testing::Test {
  protected:
    // Writes the strip with the given colour table and makes that table the display palette, so
    // the sheet keeps its indices.
    std::string Strip(int tileWidth, int tileHeight, int count, int perRow,
                      const std::vector<Rgb>& colours = DistinctColours(256)) {
        const int rows = (count + perRow - 1) / perRow;
        const std::string path = folder.Write(
            "strip" + std::to_string(++files) + ".bmp",
            testing_support::Write8BitBmp(tileWidth * perRow, tileHeight * rows, colours,
                                          StripIndices(tileWidth, tileHeight, count, perRow)));
        EXPECT_EQ(screen().SetPaletteFromBitmap(path.c_str()), 1);
        return path;
    }
    Screen& screen() { return display.screen(); }
    // The tile that a draw left at the sprite's position, or -1 for none.
    int DrawnTile(const AnimatedSprite& sprite) {
        const int index =
            testing_support::PixelAt(*screen().backBuffer, sprite.x + 100, sprite.y + 100);
        return index == kBackground ? -1 : index - kFirstTileIndex;
    }
    int CountBackground() {
        const auto pixels = testing_support::ReadPixels(*screen().backBuffer);
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), kBackground));
    }

    testing_support::HeadlessDisplay display;
    testing_support::TempFolder folder;
    int files = 0;
};

TEST_F(AnimatedSpriteTest, PingPongOnSixTilesShowsTheTopOnceAndTileZeroTwice) {
    const std::string path = Strip(240, 180, 6, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 6);
    std::vector<int> drawn;
    for (int call = 0; call < 22; ++call) {
        screen().Clear(kBackground);
        sprite.PingPong();
        drawn.push_back(DrawnTile(sprite));
        if (call == 11) {
            EXPECT_EQ(sprite.frame, 1);
            EXPECT_EQ(sprite.forward, 1);
        }
    }
    EXPECT_EQ(drawn,
              (std::vector<int>{0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0}));
}

TEST_F(AnimatedSpriteTest, PingPongOnTwoTiles) {
    const std::string path = Strip(240, 180, 2, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 2);
    std::vector<int> drawn;
    for (int call = 0; call < 8; ++call) {
        screen().Clear(kBackground);
        sprite.PingPong();
        drawn.push_back(DrawnTile(sprite));
    }
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 0, 0, 1, 0, 0, 1}));
}

TEST_F(AnimatedSpriteTest, PingPongOnFewerThanTwoTilesStaysOnTileZero) {
    const std::string path = Strip(32, 32, 1, 1);
    for (int count : {1, 0}) {
        AnimatedSprite sprite(&screen(), path.c_str(), 32, 32, count);
        for (int call = 0; call < 5; ++call) {
            sprite.PingPong();
            EXPECT_EQ(sprite.frame, 0) << count << " tiles, call " << call;
            sprite.DrawAndStep(1.0f, 0);
            EXPECT_EQ(sprite.frame, 0) << count << " tiles, call " << call;
        }
    }
}

TEST_F(AnimatedSpriteTest, DrawAndStepDrawsFirstThenWrapsBothWays) {
    const std::string path = Strip(240, 180, 6, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 6);
    screen().Clear(kBackground);
    sprite.DrawAndStep(1.0f, 0);
    EXPECT_EQ(DrawnTile(sprite), 0);
    EXPECT_EQ(sprite.frame, 5);
    screen().Clear(kBackground);
    sprite.DrawAndStep(1.0f, 1);
    EXPECT_EQ(DrawnTile(sprite), 5);
    EXPECT_EQ(sprite.frame, 0);
    sprite.DrawAndStep(1.0f, 1);
    EXPECT_EQ(sprite.frame, 1);
}

TEST_F(AnimatedSpriteTest, CentringTruncatesTowardZero) {
    const std::string path = Strip(640, 480, 2, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 640, 480, 2);
    struct Case {
        float scale;
        RECT expected;
    };
    for (const Case& c : {Case{1.0f, {0, 0, 640, 480}}, Case{0.5f, {160, 120, 480, 360}},
                          Case{0.3f, {223, 167, 415, 311}}}) {
        SCOPED_TRACE("scale " + std::to_string(c.scale));
        screen().Clear(kBackground);
        EXPECT_EQ(sprite.DrawCentred(c.scale), DD_OK);
        EXPECT_EQ(sprite.x, c.expected.left);
        EXPECT_EQ(sprite.y, c.expected.top);
        const RECT& d = sprite.tileSheet->dstRect;
        EXPECT_EQ(d.left, c.expected.left);
        EXPECT_EQ(d.top, c.expected.top);
        EXPECT_EQ(d.right, c.expected.right);
        EXPECT_EQ(d.bottom, c.expected.bottom);
        const int drawn =
            (c.expected.right - c.expected.left) * (c.expected.bottom - c.expected.top);
        EXPECT_EQ(CountBackground(), 640 * 480 - drawn);
    }
}

TEST_F(AnimatedSpriteTest, CentringAtScaleZeroDrawsNothing) {
    const std::string path = Strip(640, 480, 2, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 640, 480, 2);
    screen().Clear(kBackground);
    EXPECT_EQ(sprite.DrawCentred(0.0f), DDERR_INVALIDRECT);
    EXPECT_EQ(sprite.x, 320);
    EXPECT_EQ(sprite.y, 240);
    EXPECT_EQ(sprite.tileSheet->dstRect.right, 320);
    EXPECT_EQ(sprite.tileSheet->dstRect.bottom, 240);
    EXPECT_EQ(CountBackground(), 640 * 480);
}

TEST_F(AnimatedSpriteTest, ScaledDrawFromTheCornerThatLeavesTheScreenDrawsNothing) {
    const std::string path = Strip(240, 180, 6, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 6);
    sprite.x = 500;
    sprite.y = 150;
    screen().Clear(kBackground);
    EXPECT_EQ(sprite.DrawScaled(1.0f), DDERR_INVALIDRECT);
    sprite.x = 200;
    EXPECT_EQ(sprite.DrawScaled(2.0f), DDERR_INVALIDRECT);
    EXPECT_EQ(CountBackground(), 640 * 480);
    EXPECT_EQ(sprite.DrawScaled(0.5f), DD_OK);
    EXPECT_EQ(CountBackground(), 640 * 480 - 120 * 90);
}

TEST_F(AnimatedSpriteTest, KeyedCopyLeavesIndexZeroTransparent) {
    const std::string path = Strip(240, 180, 6, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 6);
    EXPECT_EQ(sprite.tileSheet->colorKey, 0);
    sprite.x = 200;
    sprite.y = 150;
    sprite.frame = 3;
    screen().Clear(kBackground);
    EXPECT_EQ(sprite.DrawKeyed(screen().backBuffer), DD_OK);
    EXPECT_EQ(testing_support::PixelAt(*screen().backBuffer, 205, 155), kBackground);
    EXPECT_EQ(testing_support::PixelAt(*screen().backBuffer, 215, 155), kFirstTileIndex + 3);
    EXPECT_EQ(CountBackground(), 640 * 480 - (240 * 180 - 100));
}

TEST_F(AnimatedSpriteTest, ConstructionInstallsThePictureAfterMatchingItToTheOldPalette) {
    const auto old = DistinctColours(256);
    Strip(4, 4, 1, 1, old);  // makes `old` the display palette
    std::vector<Rgb> reversed(old.rbegin(), old.rend());
    const std::string path = folder.Write(
        "reversed.bmp",
        testing_support::Write8BitBmp(240, 180, reversed, StripIndices(240, 180, 1, 1)));
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 1);
    const auto palette = PaletteOf(screen());
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(palette[i].peRed, reversed[i].red) << i;
        ASSERT_EQ(palette[i].peGreen, reversed[i].green) << i;
        ASSERT_EQ(palette[i].peBlue, reversed[i].blue) << i;
    }
    // Colour reversed[10] is old[245]: the sheet was matched before the palette changed.
    EXPECT_EQ(testing_support::PixelAt(*sprite.tileSheet, 100, 100), 245);
    EXPECT_EQ(testing_support::PixelAt(*sprite.tileSheet, 0, 0), 255);
}

TEST_F(AnimatedSpriteTest, MissingPictureStillInstallsTheDefaultCubeAndStaysOnFrameZero) {
    Strip(4, 4, 1, 1);
    const std::string missing = folder.Path("missing.bmp");
    picture_tests::StderrOf([&] {
        AnimatedSprite sprite(&screen(), missing.c_str(), 240, 180, 6);
        EXPECT_EQ(sprite.DrawScaled(1.0f), DDERR_NOTINITIALIZED);
        sprite.PingPong();
        EXPECT_EQ(sprite.frame, 0);
        sprite.DrawAndStep(1.0f, 0);
        EXPECT_EQ(sprite.frame, 0);
    });
    const auto palette = PaletteOf(screen());
    EXPECT_EQ(palette[224].peRed, 255);
    EXPECT_EQ(palette[224].peGreen, 0);
    EXPECT_EQ(palette[3].peBlue, 255);
}

TEST_F(AnimatedSpriteTest, LostSheetIsReloadedFromItsFileOnTheNextDraw) {
    const std::string path = Strip(240, 180, 6, 2);
    AnimatedSprite sprite(&screen(), path.c_str(), 240, 180, 6);
    const auto original = testing_support::ReadPixels(*sprite.tileSheet);
    sprite.x = 200;
    sprite.y = 150;
    sprite.frame = 2;
    platform::MarkSurfaceLost(sprite.tileSheet->surface);
    screen().Clear(kBackground);
    EXPECT_EQ(sprite.DrawScaled(1.0f), DDERR_SURFACELOST);
    EXPECT_EQ(CountBackground(), 640 * 480) << "the frame lacks that draw";
    EXPECT_EQ(testing_support::ReadPixels(*sprite.tileSheet), original);
    EXPECT_EQ(sprite.frame, 2);
    EXPECT_EQ(sprite.x, 200);
    EXPECT_EQ(sprite.DrawScaled(1.0f), DD_OK);
    EXPECT_EQ(DrawnTile(sprite), 2);
}

}  // namespace
