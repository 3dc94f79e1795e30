// Figures from bad files: nothing crashes, hangs or grows without bound, and the file is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "figures/figure.h"
#include "figures/figure_constants.h"
#include "tests/figures/dxf_text.h"
#include "tests/support/headless_display.h"

namespace {

using dxf_text::Header;
using dxf_text::Line;

struct Loaded {
    int count = 0;
    std::string messages;
};

// Loads, checks every kept end point is a sane number, and draws the figure large and small.
class BadFiles : public ::testing::Test {
  protected:
    Loaded LoadWith(DxfReader& reader) {
        Figure figure(&reader, &display.screen());
        ::testing::internal::CaptureStderr();
        figure.Load();
        Loaded loaded{figure.lines.count, ::testing::internal::GetCapturedStderr()};
        for (int i = 0; i < figure.lines.count; ++i) {
            const DxfLine* line = figure.lines.MoveNext();
            for (float value : {line->x1, line->y1, line->x2, line->y2}) {
                EXPECT_TRUE(std::isfinite(value));
                EXPECT_LE(std::fabs(value), 2 * figures::kMaxCoordinate);
            }
        }
        figure.x = 340;
        figure.y = 250;
        figure.Draw(3.0f, 3.0f, 150);
        figure.Draw(0.5f, 0.5f, 143);
        return loaded;
    }
    Loaded LoadBytes(const std::string& bytes, const std::string& name = "bad.dxf") {
        DxfReader reader(bytes, name);
        return LoadWith(reader);
    }
    Loaded LoadFile(const dxf_text::TempFile& file) {
        DxfReader reader(file.name().c_str());
        return LoadWith(reader);
    }

    testing_support::HeadlessDisplay display;
};

void ExpectOneLineNaming(const std::string& messages, const std::string& name,
                         const std::string& problem) {
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
    EXPECT_NE(messages.find(name), std::string::npos) << messages;
    EXPECT_NE(messages.find(problem), std::string::npos) << messages;
}

// A small generator of our own, so the garbage is the same on every run.
class Bytes {
  public:
    explicit Bytes(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

  private:
    std::uint32_t state_;
};

void WriteFile(const dxf_text::TempFile& file, const std::string& text) {
    std::ofstream out(file.path(), std::ios::binary);
    out << text;
}

TEST_F(BadFiles, EmptyFile) {
    dxf_text::TempFile file("empty.dxf");
    WriteFile(file, "");
    const Loaded loaded = LoadFile(file);
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, file.name(), "$EXTMIN");
}

TEST_F(BadFiles, MissingFile) {
    DxfReader reader("/nonexistent/v_tolvek/Flower1.dxf");
    const Loaded loaded = LoadWith(reader);
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, "/nonexistent/v_tolvek/Flower1.dxf", "cannot be opened");
}

TEST_F(BadFiles, HeaderWithoutLines) {
    const Loaded loaded = LoadBytes(Header() + dxf_text::Footer(), "Cock1.dxf");
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, "Cock1.dxf", "no LINE entity");
}

TEST_F(BadFiles, BinaryGarbage) {
    Bytes random(1);
    std::string bytes(1 << 20, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random.Next());
    const Loaded loaded = LoadBytes(bytes, "garbage.dxf");
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, "garbage.dxf", "$EXTMIN");
}

TEST_F(BadFiles, ScrambledKeywordsAndNumbers) {
    const std::vector<std::string> words = {"$EXTMIN",
                                            "$EXTMAX",
                                            "LINE",
                                            "line",
                                            "10",
                                            "20",
                                            "30",
                                            "11",
                                            "21",
                                            "31",
                                            "8",
                                            "62",
                                            "0",
                                            "256",
                                            "1.5",
                                            "-3e2",
                                            "nan",
                                            "inf",
                                            "-infinity",
                                            "1e39",
                                            "0x1p9",
                                            "WALLS",
                                            "1e",
                                            "+",
                                            "-",
                                            ".",
                                            std::string(300, '7'),
                                            std::string(200, 'L')};
    const std::vector<std::string> gaps = {"\n", "\r\n", " ", "\t", std::string(1, '\0'), "\r"};
    Bytes random(7);
    for (int document = 0; document < 300; ++document) {
        std::string text;
        const int tokens = 20 + static_cast<int>(random.Next() % 400);
        for (int i = 0; i < tokens; ++i) {
            text += words[random.Next() % words.size()];
            text += gaps[random.Next() % gaps.size()];
        }
        const Loaded loaded = LoadBytes(text, "scrambled.dxf");
        EXPECT_LE(loaded.count, tokens) << text;
    }
}

TEST_F(BadFiles, HundredMegabyteToken) {
    dxf_text::TempFile file("one_token.dxf");
    {
        std::ofstream out(file.path(), std::ios::binary);
        const std::string chunk(1 << 20, 'A');
        for (int i = 0; i < 100; ++i)
            out << chunk;
    }
    const Loaded loaded = LoadFile(file);
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, file.name(), "$EXTMIN");
}

TEST_F(BadFiles, AMillionLinesKeepsTheFirstOnesUpToTheLimit) {
    dxf_text::TempFile file("million.dxf");
    {
        std::ofstream out(file.path(), std::ios::binary);
        out << Header();
        const std::string entity = Line("1", "2", "3", "4");
        std::string block;
        for (int i = 0; i < 1000; ++i)
            block += entity;
        for (int i = 0; i < 1000; ++i)
            out << block;
        out << dxf_text::Footer();
    }
    const Loaded loaded = LoadFile(file);
    EXPECT_EQ(loaded.count, figures::kMaxFigureLines);
    ExpectOneLineNaming(loaded.messages, file.name(),
                        "only its first " + std::to_string(figures::kMaxFigureLines));
}

TEST_F(BadFiles, NumbersBeyondTheFloatRangeOrTheCoordinateLimitDropTheirLine) {
    const std::string text = Header() + Line("1", "2", "3", "4") + Line("1e39", "2", "3", "4") +
                             Line("1", "-1e400", "3", "4") + Line("1", "2", "2000000", "4") +
                             Line("999999", "2", "-999999", "4") + dxf_text::Footer();
    const Loaded loaded = LoadBytes(text, "range.dxf");
    EXPECT_EQ(loaded.count, 2);
    ExpectOneLineNaming(loaded.messages, "range.dxf", "3 LINE entities");
}

TEST_F(BadFiles, NanAndInfinityCoordinatesDropTheirLine) {
    const std::string text = Header() + Line("nan", "2", "3", "4") + Line("1", "inf", "3", "4") +
                             Line("1", "2", "-Infinity", "4") + Line("1", "2", "3", "NAN(1)") +
                             Line("10", "20", "30", "40") + dxf_text::Footer();
    const Loaded loaded = LoadBytes(text, "nan.dxf");
    EXPECT_EQ(loaded.count, 1);
    ExpectOneLineNaming(loaded.messages, "nan.dxf", "4 LINE entities");
}

TEST_F(BadFiles, OnlyBadLinesLeaveAnEmptyFigure) {
    const Loaded loaded = LoadBytes(Header() + Line("nan", "0", "0", "0"), "allbad.dxf");
    EXPECT_EQ(loaded.count, 0);
    ExpectOneLineNaming(loaded.messages, "allbad.dxf", "draws nothing");
}

TEST_F(BadFiles, NanDepthIsHarmless) {
    const std::string text = Header() +
                             "0\nLINE\n8\n0\n10\n1\n20\n2\n30\nnan\n11\n3\n21\n4\n31\n"
                             "inf\n" +
                             dxf_text::Footer();
    const Loaded loaded = LoadBytes(text, "depth.dxf");
    EXPECT_EQ(loaded.count, 1) << "z is never drawn";
    EXPECT_TRUE(loaded.messages.empty()) << loaded.messages;
}

TEST_F(BadFiles, LongTokensNeitherOverflowNorPassForKeywords) {
    const std::string text = Header() + std::string(5000, 'x') + "LINE\n" +
                             Line("1", "2", "3", "4", std::string(300, 'Q')) +
                             "0\nLINE\n8\n0\n10\n" + std::string(400, '5') +
                             "\n20\n2\n30\n0\n11\n"
                             "3\n21\n4\n31\n0\n" +
                             dxf_text::Footer();
    const Loaded loaded = LoadBytes(text, "long.dxf");
    EXPECT_EQ(loaded.count, 1) << "the 400-digit x is beyond the float range";
    ExpectOneLineNaming(loaded.messages, "long.dxf", "1 LINE entities");
}

TEST_F(BadFiles, DosLineEndsLoadLikeUnixOnes) {
    std::string text = Header();
    for (int i = 0; i < 20; ++i) {
        text += Line(std::to_string(i * 7.25), std::to_string(i * 3), std::to_string(300 - i),
                     std::to_string(i * i * 0.5), "LAYER_" + std::to_string(i));
    }
    text += dxf_text::Footer();
    dxf_text::TempFile unixFile("unix.dxf");
    dxf_text::TempFile dosFile("dos.dxf");
    WriteFile(unixFile, text);
    WriteFile(dosFile, dxf_text::WithDosLineEnds(text));
    DxfReader unixReader(unixFile.name().c_str());
    DxfReader dosReader(dosFile.name().c_str());
    Figure unixFigure(&unixReader, nullptr);
    Figure dosFigure(&dosReader, nullptr);
    unixFigure.Load();
    dosFigure.Load();
    ASSERT_EQ(unixFigure.lines.count, 20);
    ASSERT_EQ(dosFigure.lines.count, 20);
    EXPECT_EQ(dosFigure.centreX, unixFigure.centreX);
    EXPECT_EQ(dosFigure.centreY, unixFigure.centreY);
    for (int i = 0; i < 20; ++i) {
        const DxfLine* a = unixFigure.lines.MoveNext();
        const DxfLine* b = dosFigure.lines.MoveNext();
        EXPECT_EQ(a->x1, b->x1);
        EXPECT_EQ(a->y2, b->y2);
    }
}

}  // namespace
