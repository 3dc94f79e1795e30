// The live client between the loop and the playback: keys forwarded by the module pause, seek
// and stop the sound, and the plug-in gets the sound being heard plus its latency.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "hostkit/host_loop.h"
#include "player/live/live_client.h"
#include "hostkit/host_window.h"
#include "player/sound/playback.h"
#include "tests/player/fake_host.h"

namespace {

using player_testing::FakePlugin;

constexpr int kRate = 3000;

// Ten seconds of sound whose samples spell their own frame number: the top bytes of left and
// right are its high and low bytes.
std::unique_ptr<hostkit::SoundTrack> Counting(const std::string&, std::string*) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(kRate) * 10 * 2);
    for (std::size_t f = 0; f < samples.size() / 2; ++f) {
        samples[2 * f] = static_cast<std::int16_t>(((f >> 8) & 0x7F) << 8);
        samples[2 * f + 1] = static_cast<std::int16_t>(static_cast<std::uint16_t>((f & 0xFF) << 8));
    }
    return std::make_unique<hostkit::MemoryTrack>("counting", kRate, 2, std::move(samples));
}

// The frame whose sound begins a recorded waveform; `i` frames into it.
int FrameOf(const std::array<unsigned char, 2 * 576>& wave, int i = 0) {
    return wave[static_cast<std::size_t>(i)] * 256 + wave[static_cast<std::size_t>(576 + i)];
}

class LiveClientTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(fake.record(), nullptr) << fake.error();
        playback = std::make_unique<player::Playback>(
            std::vector<std::string>{"counting"}, &Counting, nullptr, [this] { return now; },
            [](const std::string&) {}, false);
        ASSERT_TRUE(playback->Start());
    }
    FakeVisRecord& record() { return *fake.record(); }

    // Runs turns of 100 ms each (the clock moves in the wait); `onTurn` acts after each wait.
    void Run(std::function<void(int)> onTurn) {
        auto sleep = [this](int) { now += 0.1; };
        player::LiveClient client(playback.get(), nullptr, sleep, nullptr);
        hostkit::HostWindow window;
        window.SetControls(&client);
        player_testing::ScriptedTurns turns(client, std::move(onTurn));
        hostkit::HostLoop loop(fake.module(), window.handle(), fake.library().instance());
        loop.Host(turns);
    }


    void Press(WPARAM key) { PostMessageA(record().window, WM_KEYDOWN, key, 1); }

    FakePlugin fake;
    double now = 0.0;
    std::unique_ptr<player::Playback> playback;
};

TEST_F(LiveClientTest, HandsTheSoundBeingHeardPlusTheModulesLatency) {
    Run([](int turn) {
        if (turn == 3)
            PostQuitMessage(0);
    });
    ASSERT_EQ(record().waveforms.size(), 3u);
    EXPECT_EQ(record().formats[0], (std::array<int, 2>{kRate, 2}));
    // Turn k renders at (k - 1) * 100 ms; 25 ms ahead is 75 frames further; 576 in a row.
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(FrameOf(record().waveforms[k]), static_cast<int>(k) * 300 + 75);
        EXPECT_EQ(FrameOf(record().waveforms[k], 575), static_cast<int>(k) * 300 + 75 + 575);
    }
}

TEST_F(LiveClientTest, PauseKeyStopsRenderingUntilPlayAndTheSoundResumesWhereItWas) {
    Run([this](int turn) {
        if (turn == 2)
            Press('C');
        if (turn == 5)
            Press('X');
        if (turn == 6)
            PostQuitMessage(0);
    });
    // Turns 1, 2 render; 3, 4, 5 are paused; 6 renders again.
    ASSERT_EQ(record().waveforms.size(), 3u);
    EXPECT_EQ(FrameOf(record().waveforms[2]), FrameOf(record().waveforms[1]) + 300);
}

TEST_F(LiveClientTest, SeekAndStopKeysMoveTheSound) {
    Run([this](int turn) {
        if (turn == 1)
            Press(VK_RIGHT);
        if (turn == 2)
            Press('V');
        if (turn == 3)
            PostQuitMessage(0);
    });
    ASSERT_EQ(record().waveforms.size(), 3u);
    // Five seconds on: 15000 frames further than the 300 the clock moved.
    EXPECT_EQ(FrameOf(record().waveforms[1]), 75 + 300 + 15000);
    // Stopped: silence, and the show keeps rendering.
    EXPECT_EQ(std::count(record().waveforms[2].begin(), record().waveforms[2].end(), 0), 2 * 576);
    EXPECT_EQ(playback->transport(), player::Transport::Stopped);
}

}  // namespace
