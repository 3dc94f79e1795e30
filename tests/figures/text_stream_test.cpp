// The text stream's "%s", "%d" and "%f" reads, its line read, line ends and end-of-file indicator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "figures/text_stream.h"

namespace {

TextStream Over(const std::string& text) {
    return TextStream(std::make_unique<MemorySource>(text));
}

// Hands out one byte per read, so every look-ahead crosses a refill.
class TrickleSource : public ByteSource {
  public:
    explicit TrickleSource(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (size == 0 || offset_ == bytes_.size())
            return 0;
        buffer[0] = bytes_[offset_++];
        return 1;
    }

  private:
    std::string bytes_;
    std::size_t offset_ = 0;
};

std::string NextToken(TextStream& stream) {
    Token token;
    if (!stream.ScanToken(token))
        return "<none>";
    return token.overlong ? "<overlong>" : token.text;
}

TEST(TextStreamToken, SkipsWhiteSpaceAndStopsBeforeTheNext) {
    TextStream stream = Over("  \t$EXTMIN\n  10 \v\f x");
    EXPECT_EQ(NextToken(stream), "$EXTMIN");
    EXPECT_EQ(NextToken(stream), "10");
    EXPECT_FALSE(stream.AtEnd());
    EXPECT_EQ(NextToken(stream), "x");
    EXPECT_TRUE(stream.AtEnd()) << "the read looked past the last character";
}

TEST(TextStreamToken, EndBeforeAnyCharacterLeavesTheTokenAlone) {
    TextStream stream = Over(" \n\n ");
    Token token;
    std::strcpy(token.text, "kept");
    EXPECT_FALSE(stream.ScanToken(token));
    EXPECT_STREQ(token.text, "kept");
    EXPECT_TRUE(stream.AtEnd());
}

TEST(TextStreamToken, KeepsOneHundredTwentySevenCharactersAndDropsLongerTokensWhole) {
    const std::string longest(127, 'a');
    const std::string tooLong = std::string(196, 'b') + "LINE";
    TextStream stream = Over(longest + "\n" + tooLong + "\nafter");
    EXPECT_EQ(NextToken(stream), longest);
    Token token;
    ASSERT_TRUE(stream.ScanToken(token));
    EXPECT_TRUE(token.overlong);
    EXPECT_FALSE(token.Is("LINE")) << "no piece of a long token may pass for a keyword";
    EXPECT_FALSE(token.Is(""));
    EXPECT_EQ(NextToken(stream), "after");
}

TEST(TextStreamToken, ComparesLikeACString) {
    TextStream stream = Over(std::string("LINE\0tail line", 14));
    Token token;
    ASSERT_TRUE(stream.ScanToken(token));
    EXPECT_TRUE(token.Is("LINE")) << "the comparison stops at the NUL byte";
    ASSERT_TRUE(stream.ScanToken(token));
    EXPECT_FALSE(token.Is("LINE")) << "case-sensitive";
}

TEST(TextStreamInt, ReadsSignedDecimalsAndStopsAtTheFirstOtherCharacter) {
    TextStream stream = Over(" 42\n-7 +5 1.5");
    int value = 0;
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, 42);
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, -7);
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, 5);
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(NextToken(stream), ".5");
}

TEST(TextStreamInt, FailureLeavesTheValueAndTheWord) {
    TextStream stream = Over("WALLS\n-x");
    int value = 62;
    EXPECT_FALSE(stream.ScanInt(value));
    EXPECT_EQ(value, 62);
    EXPECT_EQ(NextToken(stream), "WALLS");
    EXPECT_FALSE(stream.ScanInt(value));
    EXPECT_EQ(NextToken(stream), "x") << "a sign with no digit after it stays read";
    EXPECT_FALSE(stream.ScanInt(value));
    EXPECT_EQ(value, 62);
    EXPECT_TRUE(stream.AtEnd());
}

TEST(TextStreamInt, ClampsNumbersBeyondTheIntRange) {
    TextStream stream = Over("2147483647 2147483648 -2147483648 -99999999999999999999999 " +
                             std::string(5000, '9'));
    int value = 0;
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, std::numeric_limits<int>::max());
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, std::numeric_limits<int>::max());
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, std::numeric_limits<int>::min());
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, std::numeric_limits<int>::min());
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, std::numeric_limits<int>::max());
    EXPECT_TRUE(stream.AtEnd());
}

float ReadFloat(const std::string& text, bool* converted = nullptr) {
    TextStream stream = Over(text);
    float value = -12345.0f;
    const bool ok = stream.ScanFloat(value);
    if (converted != nullptr)
        *converted = ok;
    return value;
}

TEST(TextStreamFloat, ReadsDecimalForms) {
    EXPECT_EQ(ReadFloat("1.5"), 1.5f);
    EXPECT_EQ(ReadFloat("\n -2e3"), -2000.0f);
    EXPECT_EQ(ReadFloat(".25"), 0.25f);
    EXPECT_EQ(ReadFloat("5."), 5.0f);
    EXPECT_EQ(ReadFloat("+0.1"), 0.1f);
    EXPECT_EQ(ReadFloat("1E-2"), 0.01f);
    EXPECT_TRUE(std::signbit(ReadFloat("-0.0")));
}

TEST(TextStreamFloat, ReadsHexInfinityAndNaN) {
    EXPECT_EQ(ReadFloat("0x1.8p3"), 12.0f);
    EXPECT_EQ(ReadFloat("-0X10"), -16.0f);
    EXPECT_EQ(ReadFloat("inf"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("-Infinity"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ReadFloat("nan")));
    EXPECT_TRUE(std::isnan(ReadFloat("NAN(123_x)")));
}

TEST(TextStreamFloat, NumbersBeyondTheFloatRangeBecomeInfinityOrZero) {
    EXPECT_EQ(ReadFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("-3.5e38"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("1e99999999999999999999"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("1" + std::string(400, '0')), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("1e-50"), 0.0f);
    EXPECT_EQ(ReadFloat("0x1p-200"), 0.0f);
    EXPECT_EQ(ReadFloat("1e-40"), std::strtof("1e-40", nullptr)) << "subnormals are kept";
}

TEST(TextStreamFloat, IncompleteNumbersFailAndStayRead) {
    const char* cases[][2] = {{"1e+x", "x"},       {"0x;", ";"}, {"infin ity", "ity"},
                              {"nan(ab cd", "cd"}, {"- 5", "5"}, {". 5", "5"}};
    for (const auto& [text, rest] : cases) {
        TextStream stream = Over(text);
        float value = 7.0f;
        EXPECT_FALSE(stream.ScanFloat(value)) << text;
        EXPECT_EQ(value, 7.0f) << text;
        EXPECT_EQ(NextToken(stream), rest) << text;
    }
}

TEST(TextStreamFloat, AgreesWithTheCLibraryOnOrdinaryNumbers) {
    const char* cases[] = {"0",
                           "-0.5",
                           "3.14159265358979",
                           "1e10",
                           "123456789",
                           "0.1e-3",
                           "16777217",
                           "340282346638528859811704183484516925440",
                           "1.17549435e-38",
                           "2.5e-45",
                           "999999.94",
                           "0x1.fffffep127",
                           "7.038531e-26",
                           "00012.500",
                           "-.75E+1"};
    for (const char* text : cases) {
        float expected = 0.0f;
        int expectedUsed = 0;
        ASSERT_EQ(std::sscanf(text, "%f%n", &expected, &expectedUsed), 1) << text;
        TextStream stream = Over(std::string(text) + " next");
        float value = 0.0f;
        ASSERT_TRUE(stream.ScanFloat(value)) << text;
        EXPECT_EQ(value, expected) << text;
        EXPECT_EQ(NextToken(stream), "next") << text;
    }
}

TEST(TextStreamFloat, LongDigitRunsRoundLikeShortOnes) {
    // 0.1 with its tail carried far past the kept digits still rounds to the nearest float.
    const std::string longOne = "0.1" + std::string(3000, '0') + "1";
    EXPECT_EQ(ReadFloat(longOne), std::strtof(longOne.c_str(), nullptr));
    const std::string halfway = "16777217" + std::string(500, '0');  // tie, to even
    EXPECT_EQ(ReadFloat(halfway + "e-500"), 16777216.0f);
    EXPECT_EQ(ReadFloat("16777217" + std::string(300, '0') + "1e-301"), 16777218.0f);
}

TEST(TextStreamLine, DiscardsAtMostSeventyNineCharactersUpToTheLineEnd) {
    TextStream stream = Over("abc\nnext " + std::string(100, 'x') + "\n5");
    stream.DiscardLine(80);
    EXPECT_EQ(NextToken(stream), "next");
    stream.DiscardLine(80);  // the space and 78 of the x
    EXPECT_EQ(NextToken(stream), std::string(22, 'x'));
    stream.DiscardLine(80);  // the line end after them
    int value = 0;
    ASSERT_TRUE(stream.ScanInt(value));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(stream.AtEnd());
}

TEST(TextStreamLine, ALineReadAtTheEndSetsTheIndicator) {
    TextStream stream = Over("tail");
    stream.DiscardLine(80);
    EXPECT_TRUE(stream.AtEnd());
    int value = 3;
    EXPECT_FALSE(stream.ScanInt(value));
    EXPECT_EQ(value, 3);
}

TEST(TextStreamLineEnds, DosLineEndsReadAsUnixOnes) {
    TextStream stream = Over("  8\r\nWALLS\r\n 10\r\n1.5\r\nx\ry");
    int code = 0;
    ASSERT_TRUE(stream.ScanInt(code));
    stream.DiscardLine(80);  // only the CR LF
    EXPECT_EQ(NextToken(stream), "WALLS");
    ASSERT_TRUE(stream.ScanInt(code));
    EXPECT_EQ(code, 10);
    float value = 0.0f;
    ASSERT_TRUE(stream.ScanFloat(value));
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(NextToken(stream), "x") << "a lone CR is white space";
    EXPECT_EQ(NextToken(stream), "y");
}

TEST(TextStreamLineEnds, ALineEndSplitAcrossReadsIsStillOne) {
    const std::string text = "LINE\r\n  8\r\nWALLS\r\n 10\r\n-1.25e1\r\n";
    TextStream stream(std::make_unique<TrickleSource>(text));
    EXPECT_EQ(NextToken(stream), "LINE");
    int code = 0;
    ASSERT_TRUE(stream.ScanInt(code));
    EXPECT_EQ(code, 8);
    stream.DiscardLine(80);
    stream.DiscardLine(80);  // WALLS with its line end, nothing of the next line
    ASSERT_TRUE(stream.ScanInt(code));
    EXPECT_EQ(code, 10);
    float value = 0.0f;
    ASSERT_TRUE(stream.ScanFloat(value));
    EXPECT_EQ(value, -12.5f);
    EXPECT_EQ(NextToken(stream), "<none>");
    EXPECT_TRUE(stream.AtEnd());
}

}  // namespace
