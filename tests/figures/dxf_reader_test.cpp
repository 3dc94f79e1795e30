// The header scan of DxfReader: extents, where it stops, and how it ends on odd input.
#include <gtest/gtest.h>

#include <string>

#include "figures/dxf_reader.h"
#include "tests/figures/dxf_text.h"

namespace {

using dxf_text::Group;

std::string NextToken(DxfReader& reader) {
    Token token;
    if (reader.file == nullptr || !reader.file->ScanToken(token))
        return "<none>";
    return token.text;
}

TEST(DxfHeader, ReadsBothExtents) {
    DxfReader reader(dxf_text::Header("1.5", "-2", "600", "400.25"), "extents.dxf");
    EXPECT_EQ(reader.extentsFound, 2);
    EXPECT_EQ(reader.extMin.x, 1.5f);
    EXPECT_EQ(reader.extMin.y, -2.0f);
    EXPECT_EQ(reader.extMax.x, 600.0f);
    EXPECT_EQ(reader.extMax.y, 400.25f);
    EXPECT_FALSE(reader.AtEnd());
}

TEST(DxfHeader, StopsRightAfterTheSecondExtentBeforeItsThirtyGroup) {
    const std::string text = Group(9, "$EXTMIN") + Group(10, "1") + Group(20, "2") +
                             Group(30, "7") + Group(9, "$EXTMAX") + Group(10, "3") +
                             Group(20, "4") + Group(30, "9") + Group(0, "ENDSEC");
    DxfReader reader(text, "stop.dxf");
    EXPECT_EQ(reader.extMin.x, 1.0f);
    EXPECT_EQ(reader.extMin.y, 2.0f);
    EXPECT_EQ(reader.extMax.x, 3.0f);
    EXPECT_EQ(reader.extMax.y, 4.0f);
    EXPECT_EQ(NextToken(reader), "30") << "the 30 group is left for the entity search";
    EXPECT_EQ(NextToken(reader), "9");
}

TEST(DxfHeader, TakesTheValueOfAnotherGroupAsTheNextCode) {
    // Group 9's value 20 is read as code 20, so 7 becomes y; then 10 gives x = 3.
    const std::string text = "$EXTMIN\n 9\n 20\n 7\n 10\n 3\n$EXTMAX\n10\n5\n20\n6\n";
    DxfReader reader(text, "codes.dxf");
    EXPECT_EQ(reader.extMin.x, 3.0f);
    EXPECT_EQ(reader.extMin.y, 7.0f);
    EXPECT_EQ(reader.extMax.x, 5.0f);
}

TEST(DxfHeader, SameVariableTwiceEndsTheScan) {
    const std::string text = "$EXTMIN 10 1 20 2 $EXTMIN 10 3 20 4 $EXTMAX 10 5 20 6";
    DxfReader reader(text, "twice.dxf");
    EXPECT_EQ(reader.extentsFound, 2);
    EXPECT_EQ(reader.extMin.x, 3.0f);
    EXPECT_EQ(reader.extMin.y, 4.0f);
    EXPECT_EQ(reader.extMax.x, 0.0f);
    EXPECT_EQ(NextToken(reader), "$EXTMAX");
}

TEST(DxfHeader, ExtentVariablesAreCaseSensitive) {
    DxfReader reader("$extmin 10 1 20 2 $EXTMAX 10 5 20 6", "case.dxf");
    EXPECT_EQ(reader.extentsFound, 1);
    EXPECT_EQ(reader.extMin.x, 0.0f);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfHeader, AnExtentWithoutNumbersEndsItsReadAndTheScanGoesOn) {
    DxfReader reader("$EXTMIN\nfoo\n$EXTMAX\n10\n1\n20\n2\n", "word.dxf");
    EXPECT_EQ(reader.extentsFound, 2);
    EXPECT_EQ(reader.extMin.x, 0.0f);
    EXPECT_EQ(reader.extMax.x, 1.0f);
    EXPECT_EQ(reader.extMax.y, 2.0f);
}

TEST(DxfHeader, EndOfFileInsideAnExtentEndsTheScan) {
    DxfReader reader("$EXTMIN\n10\n5", "short.dxf");
    EXPECT_EQ(reader.extentsFound, 1);
    EXPECT_EQ(reader.extMin.x, 5.0f);
    EXPECT_EQ(reader.extMin.y, 0.0f);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfHeader, FileWithoutExtentsIsReadToItsEnd) {
    DxfReader reader(dxf_text::Line("1", "2", "3", "4"), "noheader.dxf");
    EXPECT_EQ(reader.extentsFound, 0);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfHeader, MissingFileGivesAReaderWithNoStream) {
    DxfReader reader("/nonexistent/folder/bird.dxf");
    EXPECT_EQ(reader.file, nullptr);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.extMin.x, 0.0f);
    EXPECT_EQ(reader.extMax.y, 0.0f);
    reader.ReadPoint(0);  // harmless without a stream
    reader.Close();
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DxfHeader, ReadsAFileFromDiskAndCloses) {
    dxf_text::TempFile file("header.dxf");
    {
        std::FILE* out = std::fopen(file.name().c_str(), "wb");
        ASSERT_NE(out, nullptr);
        const std::string text = dxf_text::Header("10", "20", "30", "40");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    DxfReader reader(file.name().c_str());
    ASSERT_NE(reader.file, nullptr);
    EXPECT_EQ(reader.extMax.y, 40.0f);
    EXPECT_EQ(reader.fileName, file.name());
    reader.Close();
    EXPECT_EQ(reader.file, nullptr);
    EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
