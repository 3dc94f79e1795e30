// Every data file of the show missing, empty, cut short, in another format, of absurd size, or
// replaced by a folder or a named pipe: one line names the file and the show goes on.
#include <gtest/gtest.h>

#include <string>

#include "tests/robustness/plugin_copy.h"
#include "tests/robustness/show_tour.h"
#include "tests/robustness/unreadable.h"

namespace robustness {
namespace {

bool IsPicture(const std::string& name) {
    return name.ends_with(".bmp");
}

// The show started, drew every frame asked for, stopped cleanly and left nothing behind.
// The file is named on stderr, on as many lines as it is loaded at most: never once per frame.
void ExpectNamed(const TourResult& tour, const std::string& name, const char* problem) {
    const int lines = tour.LinesWith("/v_tolvek/" + name);
    EXPECT_GE(lines, 1) << name << " should be named; stderr was:\n" << tour.errors;
    EXPECT_LE(lines, 4) << tour.errors;
    EXPECT_GE(tour.LinesWith(problem), 1) << "expected '" << problem << "' in:\n" << tour.errors;
}

class EachDataFile : public ::testing::TestWithParam<const char*> {
  protected:
    std::string name = GetParam();
    PluginCopy copy;
};

TEST_P(EachDataFile, MissingIsNamedAndTheShowGoesOn) {
    std::filesystem::remove(copy.DataFile(name));
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    ExpectNamed(tour, name, IsPicture(name) ? "cannot open" : "cannot be opened");
}

TEST_P(EachDataFile, EmptyIsNamedAndTheShowGoesOn) {
    copy.Truncate(copy.DataFile(name), 0);
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    ExpectNamed(tour, name, IsPicture(name) ? "too short" : "does not have both $EXTMIN");
}

TEST_P(EachDataFile, CutShortAnywhereIsNamedOrReadAsFarAsItGoes) {
    const std::string whole = copy.Read(copy.DataFile(name));
    ASSERT_GT(whole.size(), 1000u);
    // In the file header, inside the information header, right after it, in the colour table
    // (or the drawing's header), half way, and one byte short.
    for (std::size_t cut : {std::size_t{10}, std::size_t{30}, std::size_t{54}, std::size_t{600},
                            whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(whole.size()));
        copy.Write(copy.DataFile(name), whole.substr(0, cut));
        const TourResult tour = TourTheShow(copy.Instance());
        ExpectTheShowWentOn(tour);
        if (IsPicture(name)) {
            ExpectNamed(tour, name, "picture");
        } else if (cut < 600) {
            // The extents are not both there yet.
            ExpectNamed(tour, name, "does not have both $EXTMIN");
        } else {
            // Every whole LINE before the cut is drawn; a line cut short stays where it is.
            EXPECT_LE(tour.LinesWith(name), 1) << tour.errors;
        }
    }
}

TEST_P(EachDataFile, AnotherFormatIsNamedAndTheShowGoesOn) {
    // A drawing where a picture belongs and a picture where a drawing belongs.
    const std::string other = IsPicture(name) ? "bird.dxf" : "sLeaf.bmp";
    copy.Write(copy.DataFile(name), copy.Read(copy.DataFile(other)));
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    ExpectNamed(tour, name, IsPicture(name) ? "not a BMP file" : "does not have both $EXTMIN");
}

TEST_P(EachDataFile, AFolderInItsPlaceIsNamedAndTheShowGoesOn) {
    copy.MakeFolder(copy.DataFile(name));
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    ExpectNamed(tour, name, IsPicture(name) ? "not a regular file" : "cannot be opened");
}

TEST_P(EachDataFile, ANamedPipeInItsPlaceDoesNotHoldUpTheShow) {
    copy.MakePipe(copy.DataFile(name));
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    ExpectNamed(tour, name, IsPicture(name) ? "not a regular file" : "cannot be opened");
}

TEST_P(EachDataFile, UnreadableIsNamedAndTheShowGoesOn) {
    const UnreadableTour unreadable = TourWithUnreadableFile(copy.Instance(), copy.DataFile(name));
    if (!unreadable.tour)
        GTEST_SKIP() << "an unreadable file cannot be arranged here: " << unreadable.why;
    ASSERT_TRUE(unreadable.why.empty()) << unreadable.why;
    ExpectTheShowWentOn(*unreadable.tour);
    ExpectNamed(*unreadable.tour, name, IsPicture(name) ? "Permission denied" : "cannot be opened");
}

INSTANTIATE_TEST_SUITE_P(DataPack, EachDataFile, ::testing::ValuesIn(kDataFileNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '.')
                                     c = '_';
                             }
                             return name;
                         });

TEST(DataFolder, MissingAltogetherNamesEveryFileAndTheShowRunsOnBlank) {
    PluginCopy copy;
    std::filesystem::remove_all(copy.DataFolder());
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    for (const char* name : kDataFileNames)
        EXPECT_GE(tour.LinesWith(name), 1) << name << " not named in:\n" << tour.errors;
}

TEST(DataFolder, AFileInItsPlaceIsLikeNoFolder) {
    PluginCopy copy;
    copy.Write(copy.DataFolder(), "not a folder");
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    for (const char* name : kDataFileNames)
        EXPECT_GE(tour.LinesWith(name), 1) << name << " not named in:\n" << tour.errors;
}

}  // namespace
}  // namespace robustness
