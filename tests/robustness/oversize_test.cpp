// Data files of absurd size: pictures whose header claims more than any picture may be, the
// largest picture that may be, drawings with coordinates out of all range, too many lines, and
// more bytes than a drawing may have. Each is named, memory stays bounded, the show goes on.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/robustness/plugin_copy.h"
#include "tests/robustness/show_tour.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/process_usage.h"

namespace robustness {
namespace {

using testing_support::BmpFields;
using testing_support::WriteBmp;

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A picture header of the given size with nothing much behind it, RLE8 so that it stays small.
std::string ClaimedPicture(int width, int height) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.compression = 1;  // RLE8
    fields.colours.assign(256, {10, 20, 30});
    fields.pixelData = {0, 1};  // the end mark at once: every pixel index 0
    return AsText(WriteBmp(fields));
}

long ResidentKb() {
    return testing_support::StatusKb("VmRSS");
}

std::string LineEntity(double x1, double y1, double x2, double y2) {
    return "  0\nLINE\n  8\n0\n 10\n" + std::to_string(x1) + "\n 20\n" + std::to_string(y1) +
           "\n 30\n0.0\n 11\n" + std::to_string(x2) + "\n 21\n" + std::to_string(y2) +
           "\n 31\n0.0\n";
}

const char* kDrawingHeader =
    "  0\nSECTION\n  2\nHEADER\n  9\n$EXTMIN\n 10\n0.0\n 20\n0.0\n  9\n$EXTMAX\n 10\n640.0\n"
    " 20\n480.0\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";

TEST(Oversized, PicturesClaimingMoreThanASideOrAllPixelsAreRefusedByName) {
    PluginCopy copy;
    copy.Write(copy.DataFile("ebrd256.bmp"), ClaimedPicture(100000, 100000));
    copy.Write(copy.DataFile("chick256.bmp"), ClaimedPicture(100, -100));
    copy.Write(copy.DataFile("sLeaf.bmp"), ClaimedPicture(-5, 7));
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_GE(tour.LinesWith("ebrd256.bmp: picture 100000x100000 is over 16384 on a side"), 1)
        << tour.errors;
    EXPECT_GE(tour.LinesWith("chick256.bmp: top-down picture with RLE compression"), 1)
        << tour.errors;
    EXPECT_GE(tour.LinesWith("sLeaf.bmp: negative width -5"), 1) << tour.errors;

    copy.Write(copy.DataFile("chick256.bmp"), ClaimedPicture(16384, 16384));
    const TourResult again = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(again);
    EXPECT_GE(again.LinesWith("chick256.bmp: picture 16384x16384 has over 64 Mi pixels"), 1)
        << again.errors;
}

TEST(Oversized, TheLargestPictureAllowedLoadsAndItsMemoryIsGivenBack) {
    PluginCopy copy;
    // 16384 x 4096: exactly the most pixels a picture may have, in a file of about a kilobyte.
    copy.Write(copy.DataFile("ebrd256.bmp"), ClaimedPicture(16384, 4096));
    const long before = ResidentKb();
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.LinesWith("ebrd256.bmp"), 0) << tour.errors;
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer holds freed memory back on purpose
    EXPECT_LT(ResidentKb() - before, 32 * 1024) << "kB still held after Quit";
#else
    (void)before;
#endif
}

TEST(Oversized, DrawingCoordinatesOutOfAllRangeAreDroppedByName) {
    PluginCopy copy;
    copy.Write(copy.DataFile("Cock1.dxf"),
               std::string(kDrawingHeader) + LineEntity(1e30, 5, 6, 7) + LineEntity(1, 2, 3, 4) +
                   "  0\nLINE\n 10\nnan\n 20\ninf\n 30\n0\n 11\n-inf\n 21\n1e39\n 31\n0\n" +
                   "  0\nENDSEC\n  0\nEOF\n");
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.LinesWith("Cock1.dxf 2 LINE entities with a coordinate that is not a number "
                             "within +-1000000 were dropped"),
              1)
        << tour.errors;
}

TEST(Oversized, DrawingsWithTooManyLinesKeepTheFirstByName) {
    PluginCopy copy;
    std::string drawing = kDrawingHeader;
    for (int i = 0; i < 20000; ++i)
        drawing += LineEntity(i % 640, i % 480, (i * 7) % 640, (i * 3) % 480);
    copy.Write(copy.DataFile("Flower1.dxf"), drawing + "  0\nENDSEC\n  0\nEOF\n");
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.LinesWith("Flower1.dxf only its first 16384 lines are kept"), 1) << tour.errors;
}

TEST(Oversized, DrawingsLargerThanSixtyFourMebibytesAreReadOnlySoFarByName) {
    PluginCopy copy;
    const std::string bird = copy.Read(copy.DataFile("bird.dxf"));
    {
        std::ofstream out(copy.DataFile("bird.dxf"), std::ios::binary | std::ios::trunc);
        out << bird;
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 65; ++i)
            out << block;
    }
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.LinesWith("bird.dxf is larger than 64 MiB; the rest is not read"), 1)
        << tour.errors;
    // The bird's own lines came before the cut: it is still drawn, and nothing else is said.
    EXPECT_EQ(tour.LinesWith("bird.dxf"), 1) << tour.errors;
}

}  // namespace
}  // namespace robustness
