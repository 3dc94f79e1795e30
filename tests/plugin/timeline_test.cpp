// The show's course over a whole cycle: phases, palettes, scene changes and the figure act.
#include <gtest/gtest.h>

#include <algorithm>

#include "effects/animated_sprite.h"
#include "effects/fractal_tree.h"
#include "tests/plugin/show_fixture.h"

namespace {

using testing_support::ShowFixture;

class Timeline : public ShowFixture {
protected:
    void SetUp() override {
        ShowFixture::SetUp();
        ASSERT_EQ(module->Init(module), 0);
        initialised = true;
    }
    int CountInFrame(unsigned char index) const {
        return static_cast<int>(std::count(lastFrame.begin(), lastFrame.end(), index));
    }
    // The resting trace: a row of one colour from x 0 to 637, where the first band's last
    // segment stops short of its end point.
    bool RowIsOneColour(int y) const {
        auto row = lastFrame.begin() + y * 640;
        return std::all_of(row, row + 638, [&](unsigned char p) { return p == row[0]; });
    }
    ShowState& s = showState;
};

TEST_F(Timeline, FirstFrameIsSceneZeroSlidesWithTheTraceAtSeventy) {
    RenderFrames(1);
    EXPECT_EQ(s.act, 0);
    EXPECT_EQ(s.scene, 0);
    EXPECT_EQ(s.frameCounter, 1);
    ASSERT_EQ(presentedCount, 1);
    // Silence rests the two bands at 70 + 128 and 210 + 128, two lines thick.
    EXPECT_TRUE(RowIsOneColour(198));
    EXPECT_TRUE(RowIsOneColour(199));
    EXPECT_TRUE(RowIsOneColour(338));
    EXPECT_TRUE(RowIsOneColour(339));
}

TEST_F(Timeline, InterludeClearsTo255AndTreePhaseTo125WithNoTreeBefore501) {
    RenderFrames(400);
    EXPECT_GT(CountInFrame(255), 640 * 480 / 2);
    RenderFrames(20);  // f = 420
    EXPECT_GT(CountInFrame(125), 640 * 480 / 2);
    RenderFrames(80);  // f = 500
    EXPECT_EQ(CountInFrame(17), 0);
    RenderFrames(219);  // f = 719: a tree of depth 5 with thick branches
    EXPECT_GT(CountInFrame(17), 1000);
}

TEST_F(Timeline, TreeGrowsThroughTheDepthsOfAScene) {
    RenderFrames(509);
    EXPECT_EQ(s.treeDepth, 1);
    RenderFrames(1);  // 510
    EXPECT_EQ(s.treeDepth, 2);
    RenderFrames(55);  // 565
    EXPECT_EQ(s.treeDepth, 3);
    RenderFrames(55);  // 620
    EXPECT_EQ(s.treeDepth, 4);
    RenderFrames(55);  // 675
    EXPECT_EQ(s.treeDepth, 5);
    RenderFrames(44);  // 719
    EXPECT_EQ(s.treeUnit, 28);
}

TEST_F(Timeline, SceneChangeDrawsOnlyTheTraceAndStartsTheNextScene) {
    int spread = s.tree->spread;
    RenderFrames(720);
    EXPECT_EQ(s.scene, 1);
    EXPECT_EQ(s.frameCounter, 0);
    EXPECT_EQ(s.treeDepth, 1);
    EXPECT_EQ(s.treeUnit, 5);
    EXPECT_EQ(s.tree->spread, spread + 1);
    EXPECT_EQ(s.actor->x, 200);
    EXPECT_EQ(s.actor->y, 150);
    EXPECT_TRUE(RowIsOneColour(198));  // the horizontal trace, not the ring
    RenderFrames(1);
    EXPECT_EQ(s.frameCounter, 1);
}

TEST_F(Timeline, AfterTheFourthSceneTheFigureActBeginsWithFigureOne) {
    RenderFrames(4 * 720);
    EXPECT_EQ(s.act, 1);
    EXPECT_EQ(s.scene, 1);
    EXPECT_EQ(s.frameCounter, 0);
    RenderFrames(420);
    EXPECT_EQ(s.scene, 2);
    RenderFrames(20);  // f = 440 restarts the count
    EXPECT_EQ(s.frameCounter, 0);
    RenderFrames(440 + 420);
    // The third figure is done: back to the image act's scene 0, one colour shift later.
    EXPECT_EQ(s.act, 0);
    EXPECT_EQ(s.scene, 0);
    EXPECT_EQ(s.colourShift, 1);
    EXPECT_EQ(s.frameCounter, 0);
}

TEST_F(Timeline, ColourShiftWrapsAfterSix) {
    s.colourShift = 6;
    s.act = 1;
    s.scene = 3;
    s.frameCounter = 419;
    RenderFrames(1);
    EXPECT_EQ(s.colourShift, 0);
    EXPECT_EQ(s.act, 0);
}

TEST_F(Timeline, FlockBouncesOffTheUpperBound) {
    s.act = 1;
    s.scene = 1;
    s.frameCounter = 10;
    s.flockX[0] = 615;
    s.flockVX[0] = 10;
    const int expected[] = {625, 615, 605, 585};
    for (int x : expected) {
        RenderFrames(1);
        EXPECT_EQ(s.flockX[0], x);
        EXPECT_EQ(s.flockVX[0], -10);
    }
}

TEST_F(Timeline, FlockBouncesOffTheLowerBound) {
    s.act = 1;
    s.scene = 1;
    s.frameCounter = 10;
    s.flockY[1] = 45;
    s.flockVY[1] = -10;
    RenderFrames(1);
    EXPECT_EQ(s.flockY[1], 25);
    EXPECT_EQ(s.flockVY[1], 10);
}

TEST(AudioLevel, FlatIsZeroAndAlternatingExtremesAreFull) {
    winampVisModule record{};
    std::memset(record.waveformData, 0x40, sizeof record.waveformData);
    EXPECT_EQ(AudioLevel(&record, 0), 0.0);
    for (int i = 0; i < 576; ++i) record.waveformData[0][i] = (i % 2) ? 255 : 0;
    EXPECT_EQ(AudioLevel(&record, 0), 127 * 0.007874015748031496);
    // 288 per step on average gives q = 1.
    for (int i = 0; i < 576; ++i) record.waveformData[0][i] = (i % 2) ? 1 : 0;
    EXPECT_EQ(AudioLevel(&record, 0), 1 * 0.007874015748031496);
}

}  // namespace
