// Drawing tools and the pictures they make: dithering, palette slots, animation frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>

#include "PackFixture.h"
#include "assets/pictures/Canvas.h"
#include "assets/pictures/PaletteBuilder.h"
#include "assets/pictures/ShowIndex.h"

namespace pictures::testing {
namespace {

TEST(Dither, EndsOfTheRangeTakeTheEndsOfTheRamp) {
    const Ramp ramp{{10, 20, 30}};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(DitherIndex(x, y, ramp, 0.0f), 10);
            EXPECT_EQ(DitherIndex(x, y, ramp, 1.0f), 30);
            EXPECT_EQ(DitherIndex(x, y, ramp, 0.5f), 20);
            EXPECT_EQ(DitherIndex(x, y, ramp, -3.0f), 10);
        }
    }
}

TEST(Dither, HalfwayMixesNeighboursEvenlyOverTheBayerCell) {
    const Ramp ramp{{1, 2}};
    int upper = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            upper += DitherIndex(x, y, ramp, 0.25f) == 2 ? 1 : 0;
        }
    }
    EXPECT_EQ(upper, 16);
}

TEST(PaletteBuilderSlots, SharedSlotsSkipTheFixedIndices) {
    PaletteBuilder b;
    std::vector<Rgb> colours;
    for (int i = 0; i < 20; ++i) {
        colours.push_back({static_cast<std::uint8_t>(i * 10), 0, 0});
    }
    const Ramp r = b.Add(Block::Common, colours);
    ASSERT_EQ(r.Size(), 20u);
    EXPECT_EQ(r[0], 1);
    for (std::uint8_t i : r.index) {
        EXPECT_FALSE(show::IsFixed(i));
        EXPECT_LT(i, kSceneBlockStart);
    }
    const Ramp s = b.Add(Block::Scene, {{1, 2, 3}});
    EXPECT_EQ(s[0], kSceneBlockStart);
}

TEST(PaletteBuilderSlots, RepeatedColourIsNudgedApart) {
    PaletteBuilder b;
    b.Fix(0, {0, 0, 0});
    const Ramp r = b.Add(Block::Common, {{40, 40, 40}, {40, 40, 40}, {0, 0, 0}});
    const Ramp s = b.Add(Block::Scene, {{40, 40, 40}, {0, 0, 0}});
    for (int i : {17,  50,  51,  52,  53,  99,  100, 101, 102, 103, 104, 105,
                  125, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152, 255}) {
        b.Fix(i, {40, 40, 40});
    }
    b.FillRest(Block::Common, {{40, 40, 40}, {41, 41, 41}});
    b.FillRest(Block::Scene, {{0, 0, 0}, {1, 1, 1}});
    const Palette p = b.Build();
    std::set<std::tuple<int, int, int>> seen;
    for (const Rgb& c : p) {
        EXPECT_TRUE(seen.insert({c.r, c.g, c.b}).second);
    }
    // The first of each colour keeps it; later ones move by one step.
    auto step = [](Rgb a, Rgb b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    };
    EXPECT_EQ(p[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(p[r[0]], (Rgb{40, 40, 40}));
    EXPECT_EQ(step(p[r[1]], {40, 40, 40}), 1);
    EXPECT_EQ(step(p[s[0]], {40, 40, 40}), 1);
    EXPECT_EQ(step(p[r[2]], {0, 0, 0}), 1);
    EXPECT_EQ(step(p[s[1]], {0, 0, 0}), 1);
}

TEST(PaletteBuilderSlots, FullBlockAndEmptySlotsAreErrors) {
    PaletteBuilder b;
    EXPECT_THROW(b.Build(), std::logic_error);
    std::vector<Rgb> tooMany(kSceneBlockStart, Rgb{9, 9, 9});
    EXPECT_THROW(b.Add(Block::Common, tooMany), std::logic_error);
    EXPECT_THROW((b.Fix(17, {1, 1, 1}), b.Fix(17, {2, 2, 2})), std::logic_error);
}

TEST(GradientColours, StartsAndEndsOnTheKeys) {
    const auto g = Gradient({{0, 0, 0}, {100, 200, 50}, {200, 0, 250}}, 5);
    ASSERT_EQ(g.size(), 5u);
    EXPECT_EQ(g.front(), (Rgb{0, 0, 0}));
    EXPECT_EQ(g[2], (Rgb{100, 200, 50}));
    EXPECT_EQ(g.back(), (Rgb{200, 0, 250}));
}

// Pixels of tile t of a picture.
std::vector<std::uint8_t> Tile(const BmpFile& f, int tw, int th, int t) {
    const int perRow = f.width / tw;
    std::vector<std::uint8_t> out;
    for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
            out.push_back(f.pixels[static_cast<std::size_t>((t / perRow) * th + y) * f.width +
                                   (t % perRow) * tw + x]);
        }
    }
    return out;
}

double ChangedShare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    int changed = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        changed += a[i] != b[i] ? 1 : 0;
    }
    return static_cast<double>(changed) / a.size();
}

TEST(PictureArt, AnimationFramesMoveButKeepTheirScene) {
    const Pack& pack = WrittenPack();
    for (const char* name : {"chick256.bmp", "flwr256.bmp", "star256.bmp", "hors256.bmp"}) {
        const BmpFile& f = pack.files.at(name);
        const double share = ChangedShare(Tile(f, 640, 480, 0), Tile(f, 640, 480, 1));
        EXPECT_GT(share, 0.02) << name;
        EXPECT_LT(share, 0.6) << name;
    }
    for (const char* name : {"ebrd256.bmp", "sflwr256.bmp", "tig256.bmp", "zeb256.bmp"}) {
        const BmpFile& f = pack.files.at(name);
        for (int t = 0; t + 1 < 6; ++t) {
            const double share = ChangedShare(Tile(f, 240, 180, t), Tile(f, 240, 180, t + 1));
            EXPECT_GT(share, 0.01) << name << " tiles " << t << " and " << t + 1;
            EXPECT_LT(share, 0.6) << name << " tiles " << t << " and " << t + 1;
        }
    }
}

TEST(PictureArt, PicturesAreShadedNotFlat) {
    for (const auto& [name, f] : WrittenPack().files) {
        const std::set<std::uint8_t> used(f.pixels.begin(), f.pixels.end());
        const bool backdrop = f.width >= 640;
        const bool leaf = f.width == 32;
        EXPECT_GE(used.size(), backdrop ? 64u : (leaf ? 10u : 24u)) << name;
    }
}

TEST(PictureArt, LeafHangsFromItsCornerOnATransparentGround) {
    const BmpFile& leaf = WrittenPack().files.at("sLeaf.bmp");
    ASSERT_EQ(leaf.width, 32);
    ASSERT_EQ(leaf.height, 32);
    auto at = [&](int x, int y) { return leaf.pixels[static_cast<std::size_t>(y) * 32 + x]; };
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(at(i, 0), 0);
        EXPECT_EQ(at(0, i), 0);
        EXPECT_EQ(at(31 - i, 0), 0);
    }
    // The tree puts the leaf's (8, 8) on the branch point: the stalk must reach it.
    EXPECT_NE(at(8, 8), 0);
    EXPECT_NE(at(20, 20), 0);
    int covered = 0;
    for (std::uint8_t v : leaf.pixels) {
        covered += v != 0 ? 1 : 0;
    }
    EXPECT_GT(covered, 150);
    EXPECT_LT(covered, 700);
}

}  // namespace
}  // namespace pictures::testing
