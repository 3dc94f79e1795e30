// The nine palettes: the show's fixed indices, the shared block and each scene's own colours.
#include <gtest/gtest.h>

#include <set>

#include "PackFixture.h"
#include "assets/pictures/PaletteBuilder.h"
#include "assets/pictures/ShowIndex.h"

namespace pictures::testing {
namespace {

int Luma(Rgb c) {
    return 299 * c.r + 587 * c.g + 114 * c.b;
}

std::set<std::uint8_t> UsedIndices(const BmpFile& f) {
    return {f.pixels.begin(), f.pixels.end()};
}

TEST(Palettes, FixedIndicesAreIdenticalInAllNine) {
    const Pack& pack = WrittenPack();
    const Palette& first = pack.files.at("chick256.bmp").palette;
    for (const auto& [name, f] : pack.files) {
        for (int i = 0; i < 256; ++i) {
            if (show::IsFixed(i)) {
                EXPECT_EQ(f.palette[i], first[i]) << name << " index " << i;
            }
        }
    }
}

TEST(Palettes, FixedIndicesSuitWhereTheShowUsesThem) {
    const Palette& p = WrittenPack().files.at("hors256.bmp").palette;
    EXPECT_EQ(p[show::kTransparent], (Rgb{0, 0, 0}));
    // Particles brighten step by step.
    for (int i = 1; i < show::kParticleCount; ++i) {
        EXPECT_GT(Luma(p[show::kParticleFirst + i]), Luma(p[show::kParticleFirst + i - 1]));
    }
    // Traces and figures are drawn on black: they must stand out.
    for (int i = 0; i < show::kTraceCount; ++i) {
        EXPECT_GT(Luma(p[show::kTraceFirst + i]), 100 * 1000) << "trace " << i;
    }
    for (int i = 0; i < show::kFigureCount; ++i) {
        EXPECT_GT(Luma(p[show::kFigureFirst + i]), 140 * 1000) << "figure " << i;
    }
    // The tree's line on its background, and the dots of the pixel field on theirs.
    EXPECT_GT(Luma(p[show::kTreeBackground]) - Luma(p[show::kTreeLine]), 100 * 1000);
    EXPECT_LT(Luma(p[show::kInterludeBackground]), 40 * 1000);
}

TEST(Palettes, NoColourAppearsTwiceInAPalette) {
    for (const auto& [name, f] : WrittenPack().files) {
        std::set<std::tuple<int, int, int>> seen;
        for (const Rgb& c : f.palette) {
            EXPECT_TRUE(seen.insert({c.r, c.g, c.b}).second)
                << name << " holds (" << +c.r << ", " << +c.g << ", " << +c.b << ") twice";
        }
    }
}

TEST(Palettes, SharedBlockIsTheSameEverywhere) {
    const Pack& pack = WrittenPack();
    const Palette& first = pack.files.at("chick256.bmp").palette;
    for (const auto& [name, f] : pack.files) {
        for (int i = 0; i < 256; ++i) {
            if (InBlock(Block::Common, i)) {
                EXPECT_EQ(f.palette[i], first[i]) << name << " index " << i;
            }
        }
    }
}

TEST(Palettes, ActorsAndLeafPaintWithSharedColoursOnly) {
    const Pack& pack = WrittenPack();
    for (const char* name :
         {"ebrd256.bmp", "sflwr256.bmp", "tig256.bmp", "zeb256.bmp", "sLeaf.bmp"}) {
        for (std::uint8_t i : UsedIndices(pack.files.at(name))) {
            EXPECT_FALSE(InBlock(Block::Scene, i)) << name << " uses scene index " << +i;
        }
    }
}

TEST(Palettes, EachSceneHasItsOwnColours) {
    const Pack& pack = WrittenPack();
    const char* const backdrops[] = {"chick256.bmp", "flwr256.bmp", "star256.bmp", "hors256.bmp"};
    for (int a = 0; a < 4; ++a) {
        const BmpFile& fa = pack.files.at(backdrops[a]);
        int sceneColoursUsed = 0;
        for (std::uint8_t i : UsedIndices(fa)) {
            sceneColoursUsed += InBlock(Block::Scene, i) ? 1 : 0;
        }
        EXPECT_GT(sceneColoursUsed, 60) << backdrops[a];
        for (int b = a + 1; b < 4; ++b) {
            const BmpFile& fb = pack.files.at(backdrops[b]);
            int differing = 0;
            for (int i = kSceneBlockStart; i < 256; ++i) {
                differing += fa.palette[i] == fb.palette[i] ? 0 : 1;
            }
            EXPECT_GT(differing, 100) << backdrops[a] << " and " << backdrops[b];
        }
    }
}

TEST(Palettes, ActorSharesItsBackdropsPaletteAndTheLeafTheFirstScenes) {
    const Pack& pack = WrittenPack();
    EXPECT_EQ(pack.files.at("ebrd256.bmp").palette, pack.files.at("chick256.bmp").palette);
    EXPECT_EQ(pack.files.at("sflwr256.bmp").palette, pack.files.at("flwr256.bmp").palette);
    EXPECT_EQ(pack.files.at("tig256.bmp").palette, pack.files.at("star256.bmp").palette);
    EXPECT_EQ(pack.files.at("zeb256.bmp").palette, pack.files.at("hors256.bmp").palette);
    EXPECT_EQ(pack.files.at("sLeaf.bmp").palette, pack.files.at("chick256.bmp").palette);
}

}  // namespace
}  // namespace pictures::testing
