// Keys the module forwards to the player's window act as the player's controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "platform/host_services.h"
#include "player/live/live_client.h"
#include "hostkit/host_window.h"
#include "player/sound/playback.h"
#include "tests/player/fake_host.h"

namespace {

using hostkit::CommandForKey;
using hostkit::PlayerCommand;
using player_testing::FakePlugin;
using player_testing::ScriptedClient;

class RecordingControls : public hostkit::HostControls {
  public:
    void Act(PlayerCommand command) override { commands.push_back(command); }
    void Drop(const std::vector<std::string>& paths) override { drops.push_back(paths); }
    std::vector<PlayerCommand> commands;
    std::vector<std::vector<std::string>> drops;
};

constexpr LPARAM kFirstPress = 1;
constexpr LPARAM kRepeat = 1 | (LPARAM{1} << 30);

TEST(PlayerKeys, MapTheOriginalPlayersKeys) {
    EXPECT_EQ(CommandForKey('X'), PlayerCommand::Play);
    EXPECT_EQ(CommandForKey('C'), PlayerCommand::Pause);
    EXPECT_EQ(CommandForKey(VK_SPACE), PlayerCommand::Pause);
    EXPECT_EQ(CommandForKey('V'), PlayerCommand::Stop);
    EXPECT_EQ(CommandForKey('Z'), PlayerCommand::Previous);
    EXPECT_EQ(CommandForKey('B'), PlayerCommand::Next);
    EXPECT_EQ(CommandForKey(VK_LEFT), PlayerCommand::SeekBack);
    EXPECT_EQ(CommandForKey(VK_RIGHT), PlayerCommand::SeekForward);
    EXPECT_EQ(CommandForKey(VK_UP), PlayerCommand::VolumeUp);
    EXPECT_EQ(CommandForKey(VK_DOWN), PlayerCommand::VolumeDown);
    EXPECT_EQ(CommandForKey('F'), PlayerCommand::ToggleFullScreen);
    EXPECT_EQ(CommandForKey('S'), PlayerCommand::ToggleShuffle);
    EXPECT_EQ(CommandForKey('R'), PlayerCommand::ToggleRepeat);
    EXPECT_EQ(CommandForKey('P'), PlayerCommand::SaveFrame);
    EXPECT_EQ(CommandForKey('Q'), PlayerCommand::Quit);
    EXPECT_EQ(CommandForKey('A'), std::nullopt);
    EXPECT_EQ(CommandForKey(VK_ESCAPE), std::nullopt);  // the module's own key
}

class PlayerKeysTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(fake.record(), nullptr) << fake.error(); }
    FakeVisRecord& record() { return *fake.record(); }
    // Runs the loop, pressing `keys` on the module's window one per turn from turn 1, then
    // asks to quit unless a key already ended the show.
    hostkit::HostEnd Press(hostkit::HostWindow& window, ScriptedClient& client,
                           std::vector<std::pair<WPARAM, LPARAM>> keys) {
        client.onWait = [this, keys](int turn) {
            if (turn <= static_cast<int>(keys.size())) {
                const auto& [key, lParam] = keys[static_cast<std::size_t>(turn - 1)];
                PostMessageA(record().window, WM_KEYDOWN, key, lParam);
            } else {
                PostQuitMessage(0);
            }
        };
        hostkit::HostLoop loop(fake.module(), window.handle(), fake.library().instance());
        return loop.Host(client);
    }

    FakePlugin fake;
    RecordingControls controls;
};

TEST_F(PlayerKeysTest, ForwardedKeysReachTheControlsInOrder) {
    hostkit::HostWindow window;
    window.SetControls(&controls);
    ScriptedClient client(fake.record());
    Press(window, client,
          {{'X', kFirstPress},
           {'C', kFirstPress},
           {VK_RIGHT, kFirstPress},
           {'A', kFirstPress},
           {VK_DOWN, kFirstPress}});
    const std::vector<PlayerCommand> expected = {PlayerCommand::Play, PlayerCommand::Pause,
                                                 PlayerCommand::SeekForward,
                                                 PlayerCommand::VolumeDown};
    EXPECT_EQ(controls.commands, expected);
}

TEST_F(PlayerKeysTest, HeldKeysRepeatSeekingButNotPausing) {
    hostkit::HostWindow window;
    window.SetControls(&controls);
    ScriptedClient client(fake.record());
    Press(window, client,
          {{'C', kFirstPress}, {'C', kRepeat}, {VK_LEFT, kFirstPress}, {VK_LEFT, kRepeat}});
    const std::vector<PlayerCommand> expected = {PlayerCommand::Pause, PlayerCommand::SeekBack,
                                                 PlayerCommand::SeekBack};
    EXPECT_EQ(controls.commands, expected);
}

TEST_F(PlayerKeysTest, QEndsTheShowWithOneQuit) {
    hostkit::HostWindow window;
    window.SetControls(&controls);
    ScriptedClient client(fake.record());
    EXPECT_EQ(Press(window, client, {{'Q', kFirstPress}, {'X', kFirstPress}}),
              hostkit::HostEnd::QuitRequest);
    EXPECT_EQ(std::count(record().events.begin(), record().events.end(), "Quit"), 1);
    EXPECT_EQ(std::count(record().events.begin(), record().events.end(), "Render"), 1);
    EXPECT_TRUE(controls.commands.empty());
}

BOOL CollectOwnedBy(HWND candidate, LPARAM lParam) {
    auto* search = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(lParam);
    if (GetWindow(candidate, GW_OWNER) == search->first)
        search->second.push_back(candidate);
    return TRUE;
}

TEST_F(PlayerKeysTest, FullScreenToggleFindsTheModulesWindowThroughItsOwner) {
    hostkit::HostWindow window;
    window.SetControls(&controls);
    ScriptedClient client(fake.record());
    std::pair<HWND, std::vector<HWND>> search{window.handle(), {}};
    HWND showWindow = nullptr;
    client.onWait = [&](int turn) {
        if (turn == 1) {
            showWindow = record().window;
            EnumWindows(&CollectOwnedBy, reinterpret_cast<LPARAM>(&search));
            // Headless the toggle has nothing to show, but it must leave the show running.
            PostMessageA(record().window, WM_KEYDOWN, 'F', kFirstPress);
        } else {
            PostQuitMessage(0);
        }
    };
    hostkit::HostLoop loop(fake.module(), window.handle(), fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::QuitRequest);
    EXPECT_EQ(search.second, std::vector<HWND>{showWindow});
    EXPECT_EQ(std::count(record().events.begin(), record().events.end(), "Render"), 2);
    EXPECT_TRUE(controls.commands.empty());
}

TEST_F(PlayerKeysTest, FilesDroppedOnTheShowReachThePlayerAsOneDrop) {
    hostkit::HostWindow window;
    window.SetControls(&controls);
    ScriptedClient client(fake.record());
    const std::vector<std::string> dropped = {"/music/Album One", "/music/two words.flac"};
    client.onWait = [&](int turn) {
        if (turn == 1) {
            // The show's window does not take files itself; its owner, the player, does.
            platform::DropFiles(record().window, dropped);
        } else {
            PostQuitMessage(0);
        }
    };
    hostkit::HostLoop loop(fake.module(), window.handle(), fake.library().instance());
    EXPECT_EQ(loop.Host(client), hostkit::HostEnd::QuitRequest);
    EXPECT_EQ(controls.drops, std::vector<std::vector<std::string>>{dropped});

    // With no window taking files, a drop goes nowhere.
    DragAcceptFiles(window.handle(), FALSE);
    platform::DropFiles(window.handle(), dropped);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_DROPFILES, WM_DROPFILES, PM_REMOVE));
}

TEST(DroppedFiles, NamesAreCopiedWholeOrCutToTheBufferAndEnded) {
    RecordingControls controls;
    hostkit::HostWindow window;  // it only has to take files
    platform::DropFiles(window.handle(), {"/a/b.wav", "/c.flac"});
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_DROPFILES, WM_DROPFILES, PM_REMOVE));
    auto drop = reinterpret_cast<HDROP>(message.wParam);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 8u);
    char cut[5] = {'x', 'x', 'x', 'x', 'x'};
    // A truncated name: the characters copied, not the length it would need.
    EXPECT_EQ(DragQueryFileA(drop, 1, cut, sizeof cut), 4u);
    EXPECT_STREQ(cut, "/c.f");
    EXPECT_EQ(DragQueryFileA(drop, 2, cut, sizeof cut), 0u);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
}

}  // namespace
