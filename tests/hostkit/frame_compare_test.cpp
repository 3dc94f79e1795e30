// Comparing a photograph with a reference frame through its palette.
#include <gtest/gtest.h>

#include "hostkit/desktop/frame_compare.h"

namespace {

hostkit::IndexedFrame Reference() {
    hostkit::IndexedFrame frame;
    frame.width = 4;
    frame.height = 2;
    frame.indices = {0, 1, 2, 255, 2, 2, 1, 0};
    frame.palette[0] = {0, 0, 0};
    frame.palette[1] = {10, 20, 30};
    frame.palette[2] = {40, 50, 60};
    frame.palette[255] = {14, 16, 46};
    return frame;
}

TEST(FrameCompare, PhotographOfTheResolvedFrameIsEqual) {
    const hostkit::IndexedFrame reference = Reference();
    const hostkit::FrameComparison c =
        hostkit::CompareThroughPalette(reference, hostkit::ResolveColours(reference));
    EXPECT_TRUE(c.Equal());
    EXPECT_EQ(c.pixels, 8);
    EXPECT_EQ(DescribeComparison(c), "0 of 8 pixels differ in colour\n");
}

TEST(FrameCompare, DifferingPixelsAreCountedGroupedAndTold) {
    const hostkit::IndexedFrame reference = Reference();
    hostkit::RgbImage shot = hostkit::ResolveColours(reference);
    shot.pixels[2] = {10, 20, 30};  // index 2 shows entry 1's colour
    shot.pixels[4] = {1, 2, 3};     // index 2 shows a colour of no entry
    shot.pixels[3] = {0, 0, 0};     // index 255 shows black, entry 0's colour
    const hostkit::FrameComparison c = hostkit::CompareThroughPalette(reference, shot, 2);
    EXPECT_FALSE(c.Equal());
    EXPECT_EQ(c.differing, 3);
    ASSERT_EQ(c.examples.size(), 2u);  // only as many as asked for, in reading order
    EXPECT_EQ(c.examples[0].x, 2);
    EXPECT_EQ(c.examples[0].shownIndex, 1);
    EXPECT_EQ(c.examples[1].x, 3);
    EXPECT_EQ(c.examples[1].shownIndex, 0);
    ASSERT_EQ(c.byIndex.size(), 2u);
    EXPECT_EQ(c.byIndex[0].index, 2);
    EXPECT_EQ(c.byIndex[0].pixels, 2);
    EXPECT_EQ(c.byIndex[1].index, 255);
    const std::string text = DescribeComparison(c);
    EXPECT_NE(text.find("3 of 8 pixels differ"), std::string::npos) << text;
    EXPECT_NE(text.find("index 2: 2 pixels, first at (2,0)"), std::string::npos) << text;
    EXPECT_NE(text.find("the colour of entry 1"), std::string::npos) << text;
}

TEST(FrameCompare, ColourOfNoEntryIsToldApart) {
    const hostkit::IndexedFrame reference = Reference();
    hostkit::RgbImage shot = hostkit::ResolveColours(reference);
    shot.pixels[0] = {1, 2, 3};
    const hostkit::FrameComparison c = hostkit::CompareThroughPalette(reference, shot);
    ASSERT_EQ(c.examples.size(), 1u);
    EXPECT_EQ(c.examples[0].shownIndex, -1);
    EXPECT_NE(DescribeComparison(c).find("a colour of no entry"), std::string::npos);
}

TEST(FrameCompare, FramesOfAnotherSizeNeverCompareEqual) {
    const hostkit::IndexedFrame reference = Reference();
    hostkit::RgbImage shot = hostkit::ResolveColours(reference);
    shot.width = 8;
    shot.height = 1;
    const hostkit::FrameComparison c = hostkit::CompareThroughPalette(reference, shot);
    EXPECT_FALSE(c.sizesMatch);
    EXPECT_FALSE(c.Equal());
    EXPECT_EQ(DescribeComparison(c), "the two frames differ in size\n");
}

TEST(FrameCompare, ReservedEndsShowEntryZeroBlackAndEntry255White) {
    hostkit::IndexedFrame reference = Reference();
    reference.palette[0] = {9, 9, 9};
    hostkit::RgbImage shot = hostkit::ResolveColours(reference);
    shot.pixels[0] = {0, 0, 0};
    shot.pixels[7] = {0, 0, 0};
    shot.pixels[3] = {255, 255, 255};
    EXPECT_EQ(hostkit::CompareThroughPalette(reference, shot).differing, 3);
    hostkit::ReserveEndEntries(&reference);
    EXPECT_TRUE(hostkit::CompareThroughPalette(reference, shot).Equal());
    EXPECT_EQ(reference.palette[1], (hostkit::Rgb{10, 20, 30}));
}

}  // namespace
