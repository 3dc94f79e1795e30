// The data pack's four line drawings: made by our generator, read back by the show's own reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "assets/drawings/Drawings.h"
#include "assets/drawings/DxfWriter.h"
#include "figures/figure.h"

namespace {

struct Read {
    int count = 0;
    int centreX = 0;
    int centreY = 0;
    int extentsFound = 0;
    DxfPoint extMin;
    DxfPoint extMax;
    std::string messages;
    bool insideScreen = true;
};

Read ReadFigure(DxfReader& reader) {
    Figure figure(&reader, nullptr);
    ::testing::internal::CaptureStderr();
    figure.Load();
    Read read{figure.lines.count,
              figure.centreX,
              figure.centreY,
              reader.extentsFound,
              reader.extMin,
              reader.extMax,
              ::testing::internal::GetCapturedStderr()};
    for (int i = 0; i < figure.lines.count; ++i) {
        const DxfLine* line = figure.lines.MoveNext();
        for (const auto& [x, y] : {std::pair{line->x1, line->y1}, std::pair{line->x2, line->y2}}) {
            const float screenX = x + static_cast<float>(figure.centreX);
            const float screenY = y + static_cast<float>(figure.centreY);
            if (screenX < 0 || screenX > 640 || screenY < 0 || screenY > 480) {
                read.insideScreen = false;
            }
        }
    }
    return read;
}

TEST(Drawings, EachReadsBackWholeThroughTheShowsReader) {
    for (const auto& [name, drawing] : drawings::MakeDrawings()) {
        SCOPED_TRACE(name);
        DxfReader reader(drawings::DxfText(drawing), name);
        const Read read = ReadFigure(reader);
        EXPECT_EQ(read.count, static_cast<int>(drawing.segments().size()));
        EXPECT_GE(read.count, 150) << "enough lines to read well large";
        EXPECT_LE(read.count, 1500) << "few enough to keep a frame cheap";
        EXPECT_TRUE(read.messages.empty()) << read.messages;
        EXPECT_TRUE(read.insideScreen) << "fits 640 x 480 after the mirror about 480";
        EXPECT_EQ(read.extentsFound, 2);
        EXPECT_NEAR(read.extMin.x, drawing.Min().x, 0.001);
        EXPECT_NEAR(read.extMax.y, drawing.Max().y, 0.001);
    }
}

TEST(Drawings, AreTheSameOnEveryRun) {
    const auto first = drawings::MakeDrawings();
    const auto second = drawings::MakeDrawings();
    ASSERT_EQ(first.size(), 4u);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(drawings::DxfText(first[i].drawing), drawings::DxfText(second[i].drawing));
    }
}

TEST(Drawings, BirdStaysClearOfTheEdgesAtItsSmallCopyScales) {
    // The copies bounce between 40 and 600 (x) and 40 and 450 (y); at 0.7 most of the bird must
    // still be on the screen there.
    const auto bird = drawings::MakeBird();
    const double halfWidth = (bird.Max().x - bird.Min().x) / 2 * 0.7;
    const double halfHeight = (bird.Max().y - bird.Min().y) / 2 * 0.7;
    EXPECT_LT(halfWidth, 160.0);
    EXPECT_LT(halfHeight, 100.0);
    EXPECT_GT(halfWidth, 80.0) << "large enough to read at half size";
}

TEST(DrawingCurves, PassThroughEveryGivenPoint) {
    drawings::Drawing d;
    d.SetStep(5.0);
    const std::vector<drawings::Point> points = {{0, 0}, {40, 30}, {80, -10}, {120, 20}};
    d.Curve(points);
    const auto& segments = d.segments();
    ASSERT_GT(segments.size(), points.size());
    for (const auto& p : points) {
        bool met = false;
        for (const auto& s : segments) {
            met = met || (s.a.x == p.x && s.a.y == p.y) || (s.b.x == p.x && s.b.y == p.y);
        }
        EXPECT_TRUE(met) << p.x << ", " << p.y;
    }
    for (const auto& s : segments) {
        EXPECT_LE(std::hypot(s.b.x - s.a.x, s.b.y - s.a.y), 6.0);
    }
}

TEST(DrawingCurves, FitIntoKeepsTheShapeAndCentresIt) {
    drawings::Drawing d;
    d.Line({0, 0}, {200, 100});
    d.FitInto({100, 100}, {300, 400});
    EXPECT_DOUBLE_EQ(d.Min().x, 100.0);
    EXPECT_DOUBLE_EQ(d.Max().x, 300.0);
    EXPECT_DOUBLE_EQ(d.Min().y, 200.0);
    EXPECT_DOUBLE_EQ(d.Max().y, 300.0);
}

TEST(DataPackDrawings, LoadFromTheDataFolder) {
    const char* folder = std::getenv("TOLVEK_DATA_DIR");
    if (folder == nullptr || !std::filesystem::exists(std::filesystem::path(folder) / "bird.dxf")) {
        GTEST_SKIP() << "no drawings in TOLVEK_DATA_DIR (" << (folder != nullptr ? folder : "unset")
                     << "); build the datapack_drawings target first";
    }
    for (const auto& [name, drawing] : drawings::MakeDrawings()) {
        SCOPED_TRACE(name);
        const std::string path = (std::filesystem::path(folder) / name).string();
        DxfReader reader(path.c_str());
        const Read read = ReadFigure(reader);
        EXPECT_GT(read.count, 0);
        EXPECT_TRUE(read.messages.empty()) << read.messages;
        EXPECT_GE(read.centreX, 160);
        EXPECT_LT(read.centreX, 480);
        EXPECT_GE(read.centreY, 120);
        EXPECT_LT(read.centreY, 360);
        std::ifstream file(path, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        EXPECT_EQ(bytes.str(), drawings::DxfText(drawing)) << "made by an older generator";
    }
}

}  // namespace
