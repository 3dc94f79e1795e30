// The fractal tree: segment and leaf counts, direction rules, the thickness rule, the one-pixel
// offsets of the tiny table entries and the leaf placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "effects/fractal_tree.h"
#include "tests/effects/effect_test_support.h"
#include "tests/support/bmp_writer.h"

namespace {

using effects_testing::ColumnsOnRow;
using effects_testing::PixelsOfColour;

constexpr int kLine = 17;
constexpr int kBackground = 125;
constexpr int kLeafBody = 200;
// The leaf pixel 8 right and 8 down of its corner: the point the leaf was drawn for.
constexpr int kLeafMark = 201;

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 32x32 8-bit BMP: a disc of kLeafBody on index 0, with kLeafMark at (8, 8). Every palette
// entry has its own colour, so loading under its own palette keeps the indices.
// The tests run as separate processes side by side, so each writes its own folder: a shared
// name would be truncated by one while another reads it.
std::string WriteLeafBitmap() {
    static const testing_support::TempFolder folder;
    std::vector<std::uint8_t> bytes{'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    PutLittleEndian(bytes, offset + 32 * 32, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, offset, 4);
    for (std::uint32_t field : {40u, 32u, 32u})
        PutLittleEndian(bytes, field, 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 8, 2);
    for (std::uint32_t field : {0u, 32u * 32u, 2835u, 2835u, 0u, 0u}) {
        PutLittleEndian(bytes, field, 4);
    }
    for (int i = 0; i < 256; ++i) {
        const int blue = i == 0 ? 0 : 255 - i;
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>((i * 7) & 0xFF),
                      static_cast<std::uint8_t>(i), 0});
    }
    for (int row = 31; row >= 0; --row) {  // bottom-up
        for (int column = 0; column < 32; ++column) {
            const int dx = column - 16;
            const int dy = row - 16;
            std::uint8_t index = dx * dx + dy * dy < 14 * 14 ? kLeafBody : 0;
            if (column == 8 && row == 8)
                index = kLeafMark;
            bytes.push_back(index);
        }
    }
    return folder.Write("leaf.bmp", bytes);
}

class Tree : public ::testing::Test {
  protected:
    Screen& screen() { return display.screen(); }
    int Pixel(int x, int y) { return testing_support::PixelAt(*screen().backBuffer, x, y); }

    // A tree with the test leaf, loaded under its own palette so its indices stay as written.
    std::unique_ptr<FractalTree> LeafyTree() {
        static const std::string leafPath = WriteLeafBitmap();
        screen().SetPaletteFromBitmap(leafPath.c_str());
        auto tree = std::make_unique<FractalTree>(&screen(), leafPath.c_str(), kLine);
        tree->tally = &tally;
        return tree;
    }
    std::unique_ptr<FractalTree> BareTree() {
        auto tree = std::make_unique<FractalTree>(&screen(), nullptr, kLine);
        tree->tally = &tally;
        return tree;
    }

    effects_testing::Points Branch(FractalTree& tree, int x, int y, int depth, int direction,
                                   int unit) {
        screen().Clear(kBackground);
        tally = {};
        tree.DrawBranch(x, y, depth, direction, unit);
        return PixelsOfColour(screen(), kLine);
    }

    testing_support::HeadlessDisplay display;
    FractalTreeTally tally;
};

TEST_F(Tree, TablesHoldTinyValuesWhereAnExactTableHoldsZero) {
    auto tree = BareTree();
    EXPECT_EQ(tree->sinTable[0], 0.0);
    EXPECT_GT(tree->sinTable[8], 5e-10);
    EXPECT_LT(tree->sinTable[8], 7e-10);
    EXPECT_GT(tree->cosTable[4], 2e-10);
    EXPECT_LT(tree->cosTable[4], 4e-10);
    EXPECT_LT(tree->cosTable[12], -8e-10);
    EXPECT_GT(tree->cosTable[12], -1e-9);
    // Kept in double precision, not rounded to float.
    EXPECT_EQ(tree->sinTable[3], std::sin((3 * 22.5) * 0.017453292516666667));
    EXPECT_NE(tree->sinTable[3], static_cast<double>(static_cast<float>(tree->sinTable[3])));
    EXPECT_EQ(tree->spread, 2);
    EXPECT_EQ(tree->straight, 1);
}

TEST_F(Tree, ShowTreeHas63SegmentsAnd64Leaves) {
    auto tree = LeafyTree();
    tree->straight = 0;
    Branch(*tree, 320, 480, 6, 8, 30);
    EXPECT_EQ(tally.segments, 63);
    EXPECT_EQ(tally.leafCopies, 64);
    EXPECT_GT(tally.leavesShown, 0);
}

TEST_F(Tree, StraightChildrenGrowThePowersOfThree) {
    auto tree = BareTree();
    Branch(*tree, 320, 480, 3, 8, 10);
    EXPECT_EQ(tally.segments, 13);
    Branch(*tree, 320, 480, 6, 8, 30);
    EXPECT_EQ(tally.segments, 364);
}

TEST_F(Tree, TreeWithoutLeafFileDrawsLinesOnly) {
    auto tree = BareTree();
    tree->straight = 0;
    const auto lines = Branch(*tree, 320, 480, 6, 8, 30);
    EXPECT_EQ(tally.segments, 63);
    EXPECT_EQ(tally.leafCopies, 0);
    EXPECT_EQ(effects_testing::DrawnPixels(screen(), kBackground), lines);
}

TEST_F(Tree, TrunkOfTheShowTreeIs32LinesWideAnd180Long) {
    auto tree = BareTree();
    tree->straight = 0;
    const auto lines = Branch(*tree, 320, 480, 6, 8, 30);
    // The columns drawn on a row near the trunk.
    auto trunkColumns = [&](int row) {
        std::vector<int> columns;
        for (int x : ColumnsOnRow(lines, row)) {
            if (x >= 280 && x < 360)
                columns.push_back(x);
        }
        return columns;
    };
    std::vector<int> trunk;
    for (int x = 305; x <= 336; ++x)
        trunk.push_back(x);
    EXPECT_EQ(trunkColumns(470), trunk);
    EXPECT_EQ(trunkColumns(400), trunk);
    // The p side (left, direction 12) lies one pixel higher than the centre and the q side.
    std::vector<int> bottom;
    for (int x = 320; x <= 336; ++x)
        bottom.push_back(x);
    EXPECT_EQ(trunkColumns(479), bottom);
    // 180 pixels long: the centre line covers rows 300..479.
    for (int y = 300; y < 480; ++y)
        ASSERT_TRUE(lines.count({320, y})) << y;
}

TEST_F(Tree, NoDepthDrawsNothing) {
    auto tree = LeafyTree();
    for (int depth : {0, -1, -6, -2147483647}) {
        const auto lines = Branch(*tree, 320, 480, depth, 8, 30);
        EXPECT_TRUE(lines.empty()) << "depth " << depth;
        EXPECT_EQ(tally.segments, 0) << "depth " << depth;
        EXPECT_EQ(tally.leafCopies, 0) << "depth " << depth;
        EXPECT_TRUE(effects_testing::DrawnPixels(screen(), kBackground).empty());
    }
}

TEST_F(Tree, NegativeDirectionTurnsIntoItsMirrorNotItsComplement) {
    auto tree = BareTree();
    // Unit 64 at depth 1 gives thickness 2: the centre line alone.
    const auto one = Branch(*tree, 300, 200, 1, 1, 64);
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(Branch(*tree, 300, 200, 1, -1, 64), one);
    EXPECT_EQ(Branch(*tree, 300, 200, 1, 17, 64), one);
    EXPECT_EQ(Branch(*tree, 300, 200, 1, -17, 64), one);
    EXPECT_NE(Branch(*tree, 300, 200, 1, 15, 64), one);
    EXPECT_EQ(Branch(*tree, 300, 200, 1, -16, 64), Branch(*tree, 300, 200, 1, 0, 64));
    EXPECT_EQ(Branch(*tree, 300, 200, 1, -5, 64), Branch(*tree, 300, 200, 1, 5, 64));
}

TEST_F(Tree, LineTurningPastZeroContinuesInDirectionOne) {
    auto tree = BareTree();
    tree->straight = 0;
    // From (100, 100) in direction 1: the first segment ends near (149, 218); the line's second
    // segment, direction 1 - 2 = -1, goes on in direction 1 towards (173, 277), not in
    // direction 15 towards (124, 277).
    const auto lines = Branch(*tree, 100, 100, 2, 1, 64);
    const auto row = ColumnsOnRow(lines, 270);
    ASSERT_FALSE(row.empty());
    for (int x : row)
        EXPECT_TRUE(x >= 165 && x <= 175) << x;
}

TEST_F(Tree, ThicknessZeroAndOneDrawNoLineButLeaves) {
    auto tree = LeafyTree();
    for (int unit : {31, 40}) {
        screen().Clear(kBackground);
        tally = {};
        tree->DrawBranch(320, 240, 1, 8, unit);
        EXPECT_EQ(tally.segments, 1);
        EXPECT_TRUE(PixelsOfColour(screen(), kLine).empty()) << "unit " << unit;
        EXPECT_EQ(tally.leavesShown, 2);
        // Leaves at the middle and the end, their corners 8 up and left of those points; the
        // end leaf, drawn second, covers the middle one's mark but not its lower part.
        const int midY = unit == 31 ? 224 : 220;
        EXPECT_EQ(Pixel(320, 240 - unit), kLeafMark) << "unit " << unit;
        EXPECT_EQ(Pixel(328, midY + 13), kLeafBody) << "unit " << unit;
    }
}

TEST_F(Tree, LeafIsKeyedOnIndexZero) {
    auto tree = LeafyTree();
    Branch(*tree, 320, 240, 1, 8, 40);
    // The leaf square for the end point starts at (312, 192): its corner is index 0 and stays
    // background, its middle is the disc.
    EXPECT_EQ(Pixel(312, 192), kBackground);
    EXPECT_EQ(Pixel(328, 208), kLeafBody);
}

TEST_F(Tree, SegmentPointingLeftEndsOnePixelUp) {
    auto bare = BareTree();
    // Depth 2, unit 20: the first segment, length 40 and thickness 2, is a single centre line.
    const auto lines = Branch(*bare, 300, 300, 2, 12, 20);
    EXPECT_TRUE(lines.count({260, 299}));
    EXPECT_FALSE(lines.count({260, 300}));

    auto leafy = LeafyTree();
    Branch(*leafy, 300, 300, 1, 12, 40);
    EXPECT_EQ(Pixel(260, 299), kLeafMark);
    EXPECT_NE(Pixel(260, 300), kLeafMark);
}

TEST_F(Tree, ThickSegmentUpHasItsLeftSideOnePixelHigher) {
    auto tree = BareTree();
    screen().Clear(kBackground);
    tree->DrawThickSegment(320, 400, 320, 300, 4, 8);
    const auto lines = PixelsOfColour(screen(), kLine);
    auto rowsOf = [&](int column) {
        std::vector<int> rows;
        for (const auto& [x, y] : lines) {
            if (x == column)
                rows.push_back(y);
        }
        return std::make_pair(rows.empty() ? -1 : rows.front(), rows.empty() ? -1 : rows.back());
    };
    EXPECT_EQ(rowsOf(319), std::make_pair(299, 398));  // p side, direction 12
    EXPECT_EQ(rowsOf(320), std::make_pair(300, 399));  // centre
    EXPECT_EQ(rowsOf(321), std::make_pair(300, 399));  // q side, direction 4
    EXPECT_EQ(rowsOf(318), std::make_pair(-1, -1));
    EXPECT_EQ(rowsOf(322), std::make_pair(-1, -1));
}

TEST_F(Tree, ThicknessGivesOneLineFewerThanItsValue) {
    auto tree = BareTree();
    for (int thickness : {0, 1, 2, 3, 4, 33}) {
        screen().Clear(kBackground);
        tree->DrawThickSegment(320, 400, 320, 300, thickness, 8);
        const auto columns = ColumnsOnRow(PixelsOfColour(screen(), kLine), 350);
        EXPECT_EQ(static_cast<int>(columns.size()), std::max(thickness - 1, 0))
            << "thickness " << thickness;
    }
}

TEST_F(Tree, DownwardSegmentsPutTheirQSideLeft) {
    auto tree = BareTree();
    screen().Clear(kBackground);
    // Direction 0 (down): p is direction 4 (right), q is direction 12 (left); thickness 3 draws
    // the centre and one q-side line, one pixel higher from the tiny cosine of direction 12.
    tree->DrawThickSegment(100, 100, 100, 200, 3, 0);
    const auto lines = PixelsOfColour(screen(), kLine);
    EXPECT_TRUE(lines.count({99, 99}));
    EXPECT_TRUE(lines.count({99, 198}));
    EXPECT_FALSE(lines.count({99, 199}));
    EXPECT_TRUE(lines.count({100, 199}));
    EXPECT_TRUE(ColumnsOnRow(lines, 150) == (std::vector<int>{99, 100}));
}

TEST_F(Tree, WorkedCaseAtTheBottomCentre) {
    auto tree = LeafyTree();
    const auto lines = Branch(*tree, 320, 480, 1, 8, 40);
    // Thickness (40 * 1 * 1) >> 5 = 1: no line.
    EXPECT_TRUE(lines.empty());
    // The leaf for the mid point (320, 460) would reach y 484 and is refused; the one for the
    // end (320, 440) is drawn with its corner at (312, 432).
    EXPECT_EQ(tally.leafCopies, 2);
    EXPECT_EQ(tally.leavesShown, 1);
    EXPECT_EQ(Pixel(320, 440), kLeafMark);
    EXPECT_EQ(Pixel(328, 448), kLeafBody);
    for (const auto& [x, y] : effects_testing::DrawnPixels(screen(), kBackground)) {
        ASSERT_TRUE(x >= 312 && x < 344 && y >= 432 && y < 464) << x << "," << y;
    }
}

}  // namespace
