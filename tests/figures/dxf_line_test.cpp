// The LINE search and coordinate reads of DxfLine, with their quirks.
#include <gtest/gtest.h>

#include <string>

#include "figures/dxf_line.h"
#include "tests/figures/dxf_text.h"

namespace {

using dxf_text::Group;

// Each code and each value on its own line, layer 0.
const std::string kWorkedLine = Group(0, "LINE") + Group(8, "0") + Group(10, "1.5") +
                                Group(20, "100") + Group(30, "0.0") + Group(11, "2") +
                                Group(21, "480") + Group(31, "0.0");

// Just the extents, so the entity search starts right after them.
const std::string kHeader = "$EXTMIN\n10\n0\n20\n0\n$EXTMAX\n10\n640\n20\n480\n";

void ExpectPoints(const DxfLine& line, float x1, float y1, float z1, float x2, float y2, float z2) {
    EXPECT_EQ(line.x1, x1);
    EXPECT_EQ(line.y1, y1);
    EXPECT_EQ(line.z1, z1);
    EXPECT_EQ(line.x2, x2);
    EXPECT_EQ(line.y2, y2);
    EXPECT_EQ(line.z2, z2);
}

TEST(DxfLineRead, WorkedLineIsMirroredAboutTheFlipHeight) {
    DxfReader reader(dxf_text::Header() + kWorkedLine, "worked.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    ExpectPoints(line, 1.5f, 380.0f, 0.0f, 2.0f, 0.0f, 0.0f);
}

TEST(DxfLineRead, DosLineEndsGiveTheSamePoints) {
    DxfReader reader(dxf_text::WithDosLineEnds(dxf_text::Header() + kWorkedLine), "dos.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    ExpectPoints(line, 1.5f, 380.0f, 0.0f, 2.0f, 0.0f, 0.0f);
}

TEST(DxfLineRead, LowerCaseLineIsNotAnEntity) {
    DxfReader reader(kHeader + Group(0, "line") + Group(10, "1") + Group(20, "2"), "lower.dxf");
    DxfLine line(reader, 480);
    EXPECT_FALSE(line.found);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfLineRead, WordLayerNameAndColourGroupArePassedOver) {
    const std::string text = Group(0, "LINE") + Group(8, "Outline_Of_Wing") + Group(62, "256") +
                             Group(10, "11") + Group(20, "22") + Group(30, "33") + Group(11, "44") +
                             Group(21, "55") + Group(31, "66");
    DxfReader reader(kHeader + text, "layer.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    ExpectPoints(line, 11.0f, 458.0f, 33.0f, 44.0f, 425.0f, 66.0f);
}

TEST(DxfLineRead, ALayerNamedLikeACoordinateCodeIsTakenForIt) {
    // The layer "21" is read as code 21, so the next line, 10, becomes y2 = 480 - 10.
    const std::string text = "LINE\n8\n21\n10\n5\n20\n100\n30\n0\n11\n2\n";
    DxfReader reader(kHeader + text, "quirk.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    EXPECT_EQ(line.y2, 470.0f);
    EXPECT_EQ(line.x1, 0.0f) << "10 was a value there, never a code";
    EXPECT_EQ(line.y1, 380.0f);
    EXPECT_EQ(line.x2, 2.0f);
}

TEST(DxfLineRead, CodesComeInAnyOrderAndARepeatCountsAgain) {
    const std::string text = "LINE\n21\n80\n11\n7\n10\n1\n10\n2\n31\n3\n30\n4\n20\n99\n";
    DxfReader reader(kHeader + text, "order.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    EXPECT_EQ(line.x1, 2.0f);
    EXPECT_EQ(line.y2, 400.0f);
    EXPECT_EQ(line.z1, 4.0f);
    EXPECT_EQ(line.y1, 0.0f) << "six groups were read before the 20";
}

TEST(DxfLineRead, TheTokenLineCountsWhereverItStands) {
    DxfReader reader(kHeader + Group(999, "LINE") + "10\n1\n20\n2\n30\n0\n11\n3\n21\n4\n31\n0\n",
                     "c.dxf");
    DxfLine line(reader, 480);
    EXPECT_TRUE(line.found);
    EXPECT_EQ(line.x2, 3.0f);
}

TEST(DxfLineRead, ReadAfterTheLastLineFindsNothingAndLeavesThePoints) {
    DxfReader reader(dxf_text::Header() + kWorkedLine + dxf_text::Footer(), "last.dxf");
    DxfLine line(reader, 480);
    ASSERT_TRUE(line.found);
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_FALSE(line.Read(reader));
    EXPECT_TRUE(reader.AtEnd());
    ExpectPoints(line, 1.5f, 380.0f, 0.0f, 2.0f, 0.0f, 0.0f);
}

TEST(DxfLineRead, EndOfFileEndsALineCutShort) {
    DxfReader reader(kHeader + "LINE\n10\n5\n20\n", "cut.dxf");
    DxfLine line(reader, 480);
    EXPECT_TRUE(line.found);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(line.x1, 5.0f);
    EXPECT_EQ(line.y1, 480.0f) << "the failed value read is still mirrored";
    EXPECT_EQ(line.x2, 0.0f);
}

TEST(DxfLineRead, WordsWithoutCodesAreDiscardedLineByLineToTheEnd) {
    DxfReader reader(kHeader + "LINE\nfoo bar\n" + std::string(1000, 'z') + "\nbaz", "words.dxf");
    DxfLine line(reader, 480);
    EXPECT_TRUE(line.found);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfLineRead, AValueThatIsNotANumberCountsAndEnds) {
    // The code 10 stays in place while its value cannot be read, so six failed reads end it.
    DxfReader reader(kHeader + "LINE\n10\nabc\n", "bad_value.dxf");
    DxfLine line(reader, 480);
    EXPECT_TRUE(line.found);
    EXPECT_EQ(line.x1, 0.0f);
    EXPECT_FALSE(reader.AtEnd());
}

TEST(DxfLineRead, ReaderWithNoStreamFindsNothing) {
    DxfReader reader("/nonexistent/Cock1.dxf");
    DxfLine line(reader, 480);
    EXPECT_FALSE(line.found);
    line.ReadCoordinates(reader);
    EXPECT_EQ(line.x1, 0.0f);
}

}  // namespace
