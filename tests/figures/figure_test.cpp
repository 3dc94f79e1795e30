// Figure: loading, the truncating centre, recentring and drawing scaled about a position.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "figures/figure.h"
#include "tests/figures/dxf_text.h"
#include "tests/support/headless_display.h"

namespace {

using dxf_text::Line;

class FigureTest : public ::testing::Test {
  protected:
    // Loads a figure from the header and the given entities; stderr is kept in loadMessages.
    Figure& Load(const std::string& entities, const std::string& name = "test.dxf") {
        reader =
            std::make_unique<DxfReader>(dxf_text::Header() + entities + dxf_text::Footer(), name);
        figure = std::make_unique<Figure>(reader.get(), &display.screen());
        ::testing::internal::CaptureStderr();
        figure->Load();
        loadMessages = ::testing::internal::GetCapturedStderr();
        return *figure;
    }

    int CountPixels(int colour) {
        int count = 0;
        for (unsigned char pixel : testing_support::ReadPixels(*display.screen().backBuffer)) {
            if (pixel == colour)
                ++count;
        }
        return count;
    }

    int Pixel(int x, int y) { return testing_support::PixelAt(*display.screen().backBuffer, x, y); }

    testing_support::HeadlessDisplay display;
    std::unique_ptr<DxfReader> reader;
    std::unique_ptr<Figure> figure;
    std::string loadMessages;
};

TEST_F(FigureTest, OneLineFigureIsCentredAndPlacedWhereTheFilePutsIt) {
    // DXF y 100 is screen y 380 after the mirror.
    Figure& f = Load(Line("100", "100", "300", "100"));
    ASSERT_EQ(f.lines.count, 1);
    EXPECT_EQ(f.centreX, 200);
    EXPECT_EQ(f.centreY, 380);
    EXPECT_EQ(f.x, 200);
    EXPECT_EQ(f.y, 380);
    const DxfLine* line = f.lines.MoveFirst();
    EXPECT_EQ(line->x1, -100.0f);
    EXPECT_EQ(line->y1, 0.0f);
    EXPECT_EQ(line->x2, 100.0f);
    EXPECT_EQ(line->y2, 0.0f);
    EXPECT_TRUE(loadMessages.empty()) << loadMessages;
}

TEST_F(FigureTest, OneLineFigureAtScalesTwoAndOneRunsFrom140To540) {
    Figure& f = Load(Line("100", "100", "300", "100"));
    display.screen().Clear(0);
    f.x = 340;
    f.y = 250;
    f.Draw(2.0f, 1.0f, 145);
    EXPECT_EQ(Pixel(140, 250), 145);
    EXPECT_EQ(Pixel(539, 250), 145);
    EXPECT_EQ(Pixel(540, 250), 0) << "the larger end of a horizontal line is not drawn";
    EXPECT_EQ(Pixel(139, 250), 0);
    EXPECT_EQ(CountPixels(145), 400);
}

TEST_F(FigureTest, CentreDropsFractionsOneCoordinateAtATime) {
    Figure& f = Load(Line("1.9", "0", "2.9", "0"));
    EXPECT_EQ(f.centreX, 1) << "1, then trunc(1 + 2.9) = 3, halved";
}

TEST_F(FigureTest, NegativeCentreTruncatesTowardZero) {
    // y: 480 - 483.5 = -3.5 and 480 - 484.5 = -4.5 sum to trunc(-3) then trunc(-7.5) = -7.
    Figure& f = Load(Line("-3.5", "483.5", "-4.5", "484.5"));
    EXPECT_EQ(f.centreX, -3);
    EXPECT_EQ(f.centreY, -3);
}

TEST_F(FigureTest, CentreAveragesAllEndsInFileOrder) {
    Figure& f = Load(Line("0", "480", "100", "480") + Line("100", "280", "300", "80"));
    ASSERT_EQ(f.lines.count, 2);
    EXPECT_EQ(f.centreX, 125);  // (0 + 100 + 100 + 300) / 4
    EXPECT_EQ(f.centreY, 150);  // (0 + 0 + 200 + 400) / 4
    EXPECT_EQ(f.lines.MoveFirst()->x2, -25.0f);
    EXPECT_EQ(f.lines.MoveNext()->y2, 250.0f);
}

TEST_F(FigureTest, ScaleZeroInBothAxesCollapsesEveryLineToNothing) {
    Figure& f = Load(Line("100", "100", "300", "300") + Line("50", "10", "60", "400"));
    display.screen().Clear(0);
    f.Draw(0.0f, 0.0f, 9);
    EXPECT_EQ(CountPixels(9), 0);
    f.Draw(0.0f, 1.0f, 9);
    EXPECT_GT(CountPixels(9), 0);
    for (int y = 0; y < 480; ++y) {
        for (int x : {f.x - 1, f.x + 1})
            ASSERT_NE(Pixel(x, y), 9) << "only the column x";
    }
}

TEST_F(FigureTest, LinesLeavingTheScreenAreClippedPixelByPixel) {
    Figure& f = Load(Line("0", "0", "640", "480") + Line("320", "0", "320", "480"));
    display.screen().Clear(0);
    f.x = 620;
    f.y = 30;
    f.Draw(3.0f, 3.0f, 200);
    // The diagonal at 3x crosses the corner region; the vertical line lands at x 620.
    EXPECT_EQ(Pixel(620, 0), 200);
    EXPECT_EQ(Pixel(620, 479), 200);
    EXPECT_GT(CountPixels(200), 480);
}

TEST_F(FigureTest, FigureWithoutLinesDrawsNothingAndSaysWhy) {
    Figure& f = Load("", "Horses1.dxf");
    EXPECT_EQ(f.lines.count, 0);
    EXPECT_EQ(f.centreX, 0);
    EXPECT_EQ(f.centreY, 0);
    EXPECT_NE(loadMessages.find("Horses1.dxf"), std::string::npos) << loadMessages;
    EXPECT_NE(loadMessages.find("no LINE"), std::string::npos) << loadMessages;
    EXPECT_EQ(std::count(loadMessages.begin(), loadMessages.end(), '\n'), 1);
    display.screen().Clear(0);
    f.Draw(1.0f, 1.0f, 7);
    f.Draw(std::numeric_limits<float>::quiet_NaN(), 1.0f, 7);
    EXPECT_EQ(CountPixels(7), 0);
}

TEST_F(FigureTest, NonFiniteScalesDrawNothingAndHugeOnesStayBounded) {
    Figure& f = Load(Line("100", "100", "300", "300"));
    display.screen().Clear(0);
    f.Draw(std::numeric_limits<float>::quiet_NaN(), 1.0f, 7);
    f.Draw(1.0f, std::numeric_limits<float>::infinity(), 7);
    EXPECT_EQ(CountPixels(7), 0);
    // Ends far beyond the screen are clipped to a band around it before drawing, along the line.
    f.x = 320;
    f.y = 240;
    f.Draw(1.0e6f, 1.0e6f, 8);
    EXPECT_EQ(Pixel(320, 240), 8);
    EXPECT_EQ(Pixel(100, 460), 8);
    // At 1e30 rounding has already lost where the line is; it must merely stay bounded.
    f.Draw(1.0e30f, 1.0e30f, 9);
    f.Draw(-3.0e38f, 3.0e38f, 9);
}

TEST(FigureOwnership, ReleasesItsLinesThroughTheEntityBase) {
    static int released = 0;
    struct CountedLine : DxfLine {
        using DxfLine::DxfLine;
        ~CountedLine() override { ++released; }
    };
    DxfReader reader("", "none.dxf");
    {
        Figure figure(&reader, nullptr);
        for (int i = 0; i < 3; ++i)
            figure.lines.Append(new CountedLine(reader, 480));
        figure.Draw(1.0f, 1.0f, 1);  // no screen: nothing to draw on
    }
    EXPECT_EQ(released, 3);
}

}  // namespace
