// The data pack loaded with the real loader in the show's order: every picture, wherever it is
// shown, shows its own colours, and the leaf's transparent index stays transparent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "effects/animated_sprite.h"
#include "platform/bmp_decoder.h"
#include "tests/pictures/picture_fixtures.h"
#include "tests/support/headless_display.h"

namespace {

const char* const kBackdrops[4] = {"chick256.bmp", "flwr256.bmp", "star256.bmp", "hors256.bmp"};
const char* const kActors[4] = {"ebrd256.bmp", "sflwr256.bmp", "tig256.bmp", "zeb256.bmp"};
const char* const kLeaf = "sLeaf.bmp";

platform::DecodedBmp DecodeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    auto result = platform::DecodeBmp(bytes);
    EXPECT_TRUE(result.ok()) << path << ": " << result.error;
    return std::move(result.image);
}

std::string Show(const platform::BmpColour& c) {
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + ")";
}

class DataPack : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* dir = std::getenv("TOLVEK_DATA_DIR");
        std::vector<std::string> names = {kLeaf};
        names.insert(names.end(), std::begin(kBackdrops), std::end(kBackdrops));
        names.insert(names.end(), std::begin(kActors), std::end(kActors));
        for (const std::string& name : names) {
            const std::string path = std::string(dir != nullptr ? dir : "") + "/" + name;
            if (dir == nullptr || !std::filesystem::is_regular_file(path)) {
                GTEST_SKIP() << "data pack picture " << path
                             << " is missing: build the datapack_pictures target first";
            }
            paths[name] = path;
            pictures[name] = DecodeFile(path);
        }
    }

    Screen& screen() { return display.screen(); }
    // The file names live in `paths` for as long as the sprites that borrow them.
    std::unique_ptr<AnimatedSprite> Make(const std::string& name, int tile, int tileHeight,
                                         int count) {
        loadedUnder[name] = current;
        auto sprite = std::make_unique<AnimatedSprite>(&screen(), paths.at(name).c_str(), tile,
                                                       tileHeight, count);
        current = name;
        return sprite;
    }
    void SetPalette(const std::string& name) {
        ASSERT_EQ(screen().SetPaletteFromBitmap(paths.at(name).c_str()), 1);
        current = name;
    }
    // Compares what the sheet shows under the palette in force with the picture's own colours.
    void ExpectOwnColours(const std::string& name, AnimatedSprite& sprite, bool keyed) {
        ++checks;
        const platform::DecodedBmp& own = pictures.at(name);
        ASSERT_NE(sprite.tileSheet, nullptr);
        const auto shown = testing_support::ReadPixels(*sprite.tileSheet);
        ASSERT_EQ(shown.size(), own.pixels.size()) << name;
        const auto palette = picture_tests::PaletteOf(screen());
        int wrong = 0;
        std::string first;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const int ownIndex = own.pixels[i];
            const platform::BmpColour ownColour = own.colours.at(ownIndex);
            const PALETTEENTRY& seen = palette[shown[i]];
            const bool hidden = keyed && shown[i] == 0;
            const bool same = keyed && ownIndex == 0 ? hidden
                                                     : !hidden && seen.peRed == ownColour.red &&
                                                           seen.peGreen == ownColour.green &&
                                                           seen.peBlue == ownColour.blue;
            if (!same && wrong++ == 0) {
                first = "first at (" + std::to_string(i % own.width) + ", " +
                        std::to_string(i / own.width) + "): own index " + std::to_string(ownIndex) +
                        " " + Show(ownColour) + " became " + std::to_string(shown[i]) + " " +
                        Show(platform::BmpColour{seen.peRed, seen.peGreen, seen.peBlue});
            }
        }
        EXPECT_EQ(wrong, 0) << name << " loaded under " << loadedUnder[name]
                            << "'s palette and shown under " << current << "'s: " << wrong
                            << " pixels change colour, " << first;
    }

    testing_support::HeadlessDisplay display;
    std::map<std::string, std::string> paths;
    std::map<std::string, platform::DecodedBmp> pictures;
    std::map<std::string, std::string> loadedUnder;
    std::string current = "(none)";
    int checks = 0;
};

TEST_F(DataPack, EveryPictureKeepsItsColoursInTheShowsLoadOrder) {
    // Init: the first palette, then backdrop, actor and the tree's leaf.
    SetPalette(kActors[0]);
    auto backdrop = Make(kBackdrops[0], 640, 480, 2);
    auto actor = Make(kActors[0], 240, 180, 6);
    auto leaf = Make(kLeaf, 32, 32, 1);
    // Two cycles of four scenes; scene 0 of the second cycle runs on the pair built for it
    // when the fourth scene ended.
    for (int pass = 0; pass < 8; ++pass) {
        const int scene = pass % 4;
        if (pass > 0) {
            actor.reset();
            backdrop.reset();
            // After the fourth scene the pair for scene 0 is built before the figure act.
            actor = Make(kActors[scene], 240, 180, 6);
            backdrop = Make(kBackdrops[scene], 640, 480, 2);
        }
        SCOPED_TRACE("scene " + std::to_string(scene) + ", pass " + std::to_string(pass));
        // Slides and pixel interlude: backdrop and actor under the palette in force.
        ExpectOwnColours(kBackdrops[scene], *backdrop, false);
        ExpectOwnColours(kActors[scene], *actor, false);
        // Tree phase: the backdrop's palette again, the backdrop centred, the leaves keyed.
        SetPalette(kBackdrops[scene]);
        ExpectOwnColours(kBackdrops[scene], *backdrop, false);
        ExpectOwnColours(kLeaf, *leaf, true);
    }
    EXPECT_EQ(checks, 32);
}

}  // namespace
