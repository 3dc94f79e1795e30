// The host loop drives a module as the original player does: record filled before Init, each
// turn messages then sound then Render then the wait, no Render while paused, one Quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "tests/player/fake_host.h"

namespace {

using hostkit::HostEnd;
using hostkit::HostLoop;
using player_testing::FakePlugin;
using player_testing::QuitRequestPending;
using player_testing::ScriptedClient;

// A hidden window standing in for the player's.
class ParentWindow {
  public:
    ParentWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "HostLoopTestParent";
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(0, "HostLoopTestParent", "parent", 0, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    ~ParentWindow() {
        DestroyWindow(handle);
        UnregisterClassA("HostLoopTestParent", nullptr);
    }
    HWND handle;
};

long Count(const std::vector<std::string>& events, const std::string& name) {
    return std::count(events.begin(), events.end(), name);
}

class HostLoopTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(fake.record(), nullptr) << fake.error(); }
    FakeVisRecord& record() { return *fake.record(); }

    FakePlugin fake;
    ParentWindow parent;
};

TEST_F(HostLoopTest, FillsParentInstanceRateAndChannelsBeforeInit) {
    ScriptedClient client(fake.record());
    client.sampleRate = 22050;
    client.channels = 1;
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    ASSERT_TRUE(loop.Start(client));
    EXPECT_EQ(record().parentAtInit, parent.handle);
    EXPECT_EQ(record().instanceAtInit, fake.library().instance());
    EXPECT_EQ(record().sRateAtInit, 22050);
    EXPECT_EQ(record().nChAtInit, 1);
    client.onWait = [](int) { PostQuitMessage(0); };
    EXPECT_EQ(loop.Run(client), hostkit::HostEnd::QuitRequest);
}

TEST_F(HostLoopTest, EachTurnDispatchesMessagesThenFillsThenRendersThenWaits) {
    ScriptedClient client(fake.record());
    client.onWait = [this](int turn) {
        if (turn == 1)
            PostMessageA(record().window, WM_USER + 7, 0, 0);
        if (turn == 2)
            PostQuitMessage(0);
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::QuitRequest);
    const std::vector<std::string> expected = {"Init",   "tick",      "fill", "Render",
                                               "wait",   "message 7", "tick", "fill",
                                               "Render", "wait",      "Quit"};
    EXPECT_EQ(record().events, expected);
    EXPECT_EQ(client.lastDelayMs, fake.module().delayMs);
}

TEST_F(HostLoopTest, RenderSeesTheSoundFilledForItsFrame) {
    ScriptedClient client(fake.record());
    client.onWait = [&client](int turn) {
        client.fillByte = static_cast<unsigned char>(0x10 * (turn + 1));
        if (turn == 3)
            PostQuitMessage(0);
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    loop.Host(client);
    ASSERT_EQ(record().waveforms.size(), 3u);
    EXPECT_EQ(record().waveforms[0][0], 0x40);
    EXPECT_EQ(record().waveforms[1][575], 0x20);
    EXPECT_EQ(record().waveforms[2][576 + 575], 0x30);
}

TEST_F(HostLoopTest, PausedTurnsSkipRenderButKeepWaitingAndDispatching) {
    ScriptedClient client(fake.record());
    client.paused = [](int turn) { return turn == 2 || turn == 3; };
    client.onWait = [this](int turn) {
        if (turn == 2)
            PostMessageA(record().window, WM_USER + 2, 0, 0);
        if (turn == 5)
            PostQuitMessage(0);
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    loop.Host(client);
    EXPECT_EQ(Count(record().events, "Render"), 3);
    EXPECT_EQ(Count(record().events, "wait"), 5);
    EXPECT_EQ(Count(record().events, "message 2"), 1);
    EXPECT_EQ(loop.framesRendered(), 3);
}

TEST_F(HostLoopTest, ClosingTheModulesWindowEndsTheLoopWithExactlyOneQuit) {
    ScriptedClient client(fake.record());
    // Escape makes the module close its window, whose destruction asks to quit.
    client.onWait = [this](int turn) {
        if (turn == 2)
            PostMessageA(record().window, WM_KEYDOWN, VK_ESCAPE, 1);
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::QuitRequest);
    EXPECT_EQ(Count(record().events, "Quit"), 1);
    EXPECT_EQ(record().events.back(), "Quit");
    EXPECT_EQ(Count(record().events, "Render"), 2);
    // Quit's own window destruction leaves no stale quit request behind.
    EXPECT_FALSE(QuitRequestPending());
}

TEST_F(HostLoopTest, NonZeroRenderStopsTheShowAndCallsQuitOnce) {
    record().stopAfterRenders = 3;
    ScriptedClient client(fake.record());
    client.onWait = [](int turn) {
        if (turn == 10)
            PostQuitMessage(0);  // never reached
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::RenderStopped);
    EXPECT_EQ(Count(record().events, "Render"), 3);
    EXPECT_EQ(Count(record().events, "Quit"), 1);
    EXPECT_EQ(Count(record().events, "wait"), 2);
    EXPECT_FALSE(QuitRequestPending());
}

TEST_F(HostLoopTest, ModuleThatDoesNotStartIsNeitherRenderedNorQuit) {
    record().initResult = 1;
    ScriptedClient client(fake.record());
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::NotStarted);
    EXPECT_EQ(record().events, std::vector<std::string>{"Init"});
}

TEST_F(HostLoopTest, RateAndChannelsFollowTheSourceEveryFrame) {
    ScriptedClient client(fake.record());
    client.onWait = [&client](int turn) {
        if (turn == 1) {
            client.sampleRate = 96000;
            client.channels = 6;
        }
        if (turn == 2)
            PostQuitMessage(0);
    };
    hostkit::HostLoop loop(fake.module(), parent.handle, fake.library().instance());
    loop.Host(client);
    ASSERT_EQ(record().formats.size(), 2u);
    EXPECT_EQ(record().formats[0], (std::array<int, 2>{44100, 2}));
    EXPECT_EQ(record().formats[1], (std::array<int, 2>{96000, 6}));
}

}  // namespace
