// plugin.ini beside the plug-in, in every bad shape: the two remembered window positions come out
// as the settings reader defines them, nothing waits, and the show starts as always.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "host/data_files.h"
#include "tests/robustness/plugin_copy.h"
#include "tests/robustness/show_tour.h"
#include "tests/robustness/unreadable.h"

namespace robustness {
namespace {

struct Position {
    int x;
    int y;
};

class SettingsFile : public ::testing::Test {
  protected:
    std::filesystem::path Ini() const { return copy.folder() / "plugin.ini"; }

    // The window position as Init's first step reads it (the show window's moves change it
    // later), then a tour of the show with that settings file.
    Position Start() {
        windowX = windowY = 50;
        ReadSettings(copy.Instance(), "Quenari Tolvek");
        const Position read{windowX, windowY};
        tour = TourTheShow(copy.Instance());
        EXPECT_EQ(tour.initResult, 0);
        EXPECT_EQ(tour.failedRenders, 0);
        EXPECT_EQ(tour.presented, tour.renders);
        EXPECT_FALSE(tour.quitRequested);
        EXPECT_EQ(tour.errors, "") << "the settings are optional and never reported";
        return read;
    }

    PluginCopy copy;
    TourResult tour;
};

TEST_F(SettingsFile, MissingLeavesFiftyFifty) {
    const Position p = Start();
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 50);
}

TEST_F(SettingsFile, WellFormedValuesAreRead) {
    copy.Write(Ini(), "[Quenari Tolvek]\nScreen_x=120\nScreen_y=-40\n");
    const Position p = Start();
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, -40);
}

TEST_F(SettingsFile, GarbageValuesReadAsZeroAndGarbageLinesAreSkipped) {
    copy.Write(Ini(),
               "\x01\xff garbage\n[Quenari Tolvek\n=5\n[Quenari Tolvek]\nScreen_x=abc\n"
               "not a line at all\nScreen_y=12px\n" +
                   std::string(3, '\0'));
    const Position p = Start();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 12);
}

TEST_F(SettingsFile, HugeNumbersSaturateAtTheIntLimits) {
    copy.Write(Ini(),
               "[Quenari Tolvek]\r\nScreen_x=99999999999999999999999\r\n"
               "Screen_y=-99999999999999999999999\r\n");
    const Position p = Start();
    EXPECT_EQ(p.x, INT_MAX);
    EXPECT_EQ(p.y, INT_MIN);
}

TEST_F(SettingsFile, NoSectionLeavesFiftyFifty) {
    copy.Write(Ini(), "Screen_x=3\nScreen_y=4\n[Another]\nScreen_x=5\n");
    const Position p = Start();
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 50);
}

TEST_F(SettingsFile, DuplicateKeysAndSectionsTakeTheFirst) {
    copy.Write(Ini(),
               "[quenari tolvek]\nscreen_x=7\nScreen_x=9\n[Quenari Tolvek]\nScreen_y=1\n"
               "Screen_y=2\n");
    const Position p = Start();
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 1);
}

TEST_F(SettingsFile, EmptyOrLargerThanReadLeavesFiftyFifty) {
    copy.Write(Ini(), "");
    Position p = Start();
    EXPECT_EQ(p.x, 50);
    // Only the first MiB is read: a key past it is not seen.
    copy.Write(Ini(), std::string(1 << 20, '\n') + "[Quenari Tolvek]\nScreen_x=1\n");
    p = Start();
    EXPECT_EQ(p.x, 50);
}

TEST_F(SettingsFile, AFolderOrANamedPipeInItsPlaceIsNotWaitedFor) {
    copy.MakeFolder(Ini());
    Position p = Start();
    EXPECT_EQ(p.x, 50);
    std::filesystem::remove(Ini());
    copy.MakePipe(Ini());
    p = Start();
    EXPECT_EQ(p.y, 50);
}

TEST_F(SettingsFile, UnreadableLeavesFiftyFifty) {
    copy.Write(Ini(), "[Quenari Tolvek]\nScreen_x=120\n");
    const UnreadableTour unreadable = TourWithUnreadableFile(copy.Instance(), Ini());
    if (!unreadable.tour)
        GTEST_SKIP() << "an unreadable file cannot be arranged here: " << unreadable.why;
    ASSERT_TRUE(unreadable.why.empty()) << unreadable.why;
    // The child's values are its own; what it shows is that nothing failed or waited.
    EXPECT_EQ(unreadable.tour->initResult, 0);
    EXPECT_EQ(unreadable.tour->presented, unreadable.tour->renders);
    EXPECT_EQ(unreadable.tour->errors, "");
}

}  // namespace
}  // namespace robustness
