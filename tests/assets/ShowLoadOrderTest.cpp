// Every picture keeps its own colours through the show's load order, over two whole cycles.
#include <gtest/gtest.h>

#include <algorithm>

#include "PackFixture.h"
#include "ShowSimulation.h"

namespace pictures::testing {
namespace {

constexpr int kCycleFrames = 4 * 720 + 1300;

bool Mentions(const std::vector<std::string>& problems, const std::string& text) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(text) != std::string::npos; });
}

TEST(ShowLoadOrder, EveryPictureKeepsItsIndicesAndColoursOverTwoCycles) {
    const Pack& pack = WrittenPack();
    ASSERT_EQ(pack.files.size(), 9u);
    ShowSimulation show(pack.files);
    show.Start();
    show.RunFrames(2 * kCycleFrames);
    for (const std::string& problem : show.Problems()) {
        ADD_FAILURE() << problem;
    }
    // Init builds three sprites, each cycle eight more.
    EXPECT_EQ(show.Loads(), 3 + 2 * 8);
    EXPECT_GT(show.Showings(), 20);
}

TEST(ShowLoadOrder, LoadsFollowTheShowsPaletteSequence) {
    ShowSimulation show(WrittenPack().files);
    show.Start();
    show.RunFrames(kCycleFrames);
    const std::vector<std::string> expected = {
        "chick256.bmp<ebrd256.bmp",  "ebrd256.bmp<chick256.bmp", "sLeaf.bmp<ebrd256.bmp",
        "sflwr256.bmp<chick256.bmp", "flwr256.bmp<sflwr256.bmp", "tig256.bmp<flwr256.bmp",
        "star256.bmp<tig256.bmp",    "zeb256.bmp<star256.bmp",   "hors256.bmp<zeb256.bmp",
        "ebrd256.bmp<hors256.bmp",   "chick256.bmp<ebrd256.bmp"};
    EXPECT_EQ(show.LoadLog(), expected);
}

TEST(ShowLoadOrder, CatchesAPaletteThatLosesAnActorsColour) {
    // The tiger is shown under the star backdrop's palette: change one of its colours there.
    std::map<std::string, BmpFile> files = WrittenPack().files;
    const BmpFile& tiger = files.at("tig256.bmp");
    const std::uint8_t used = tiger.pixels[tiger.pixels.size() / 2];
    Rgb& entry = files.at("star256.bmp").palette[used];
    entry.r = static_cast<std::uint8_t>(entry.r ^ 0x40);
    ShowSimulation show(files);
    show.Start();
    show.RunFrames(kCycleFrames);
    EXPECT_TRUE(Mentions(show.Problems(), "tig256.bmp shown under star256.bmp"));
}

TEST(ShowLoadOrder, CatchesADuplicateColourAtALowerIndex) {
    // A copy of one of the leaf's colours placed below it in the palette it loads under.
    std::map<std::string, BmpFile> files = WrittenPack().files;
    const BmpFile& leaf = files.at("sLeaf.bmp");
    std::uint8_t used = 0;
    for (std::uint8_t v : leaf.pixels) {
        used = std::max(used, v);
    }
    ASSERT_GT(used, 1);
    files.at("ebrd256.bmp").palette[1] = leaf.palette[used];
    ShowSimulation show(files);
    show.Start();
    EXPECT_TRUE(Mentions(show.Problems(), "sLeaf.bmp loaded under ebrd256.bmp"));
}

TEST(NearestIndex, TakesTheLowestIndexOnTies) {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        p[i] = {255, 255, 255};
    }
    p[7] = {10, 20, 30};
    p[9] = {10, 20, 30};
    p[3] = {12, 20, 30};
    p[5] = {8, 20, 30};
    EXPECT_EQ(NearestIndex(p, {10, 20, 30}), 7);
    // 3 and 5 are equally near (distance 4): the lower wins.
    EXPECT_EQ(NearestIndex(p, {10, 20, 31}), 7);
    p[7] = {200, 0, 0};
    p[9] = {200, 0, 0};
    EXPECT_EQ(NearestIndex(p, {10, 20, 30}), 3);
}

}  // namespace
}  // namespace pictures::testing
