// Live capture: with a private sound server playing a known tone, the player hands the plug-in
// that tone's waveform; with no server it says so in one line and shows silence.
#include <gtest/gtest.h>
#include <pulse/simple.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <numbers>
#include <thread>
#include <vector>

#include "hostkit/capture/capture_source.h"
#include "player/sound/pulse_devices.h"
#include "tests/player/pulse_server.h"
#include "tests/player/run_player.h"
#include "tests/player/sound_files.h"

namespace {

using player_testing::PlayerRun;
using player_testing::RunPlayer;

// A private null sink sends its first captured sound after about two seconds.
constexpr int kRenders = 200;
constexpr int kFrameBytes = 2 * 576;

// Plays left = 0.5 sin(441 Hz), right = -left / 2 into the server until stopped.
class TonePlayer {
  public:
    explicit TonePlayer(const std::string& server) {
        pa_sample_spec spec{PA_SAMPLE_S16NE, 44100, 2};
        int code = 0;
        stream_ = pa_simple_new(server.c_str(), "tone", PA_STREAM_PLAYBACK, nullptr, "tone", &spec,
                                nullptr, nullptr, &code);
        if (stream_ != nullptr)
            thread_ = std::thread([this] { Play(); });
    }
    ~TonePlayer() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (stream_ != nullptr)
            pa_simple_free(stream_);
    }
    bool playing() const { return stream_ != nullptr; }

  private:
    void Play() {
        std::vector<std::int16_t> chunk(441 * 2);
        long frame = 0;
        while (!stop_) {
            for (int i = 0; i < 441; ++i, ++frame) {
                double value = 16384.0 * std::sin(2.0 * std::numbers::pi * frame / 100.0);
                chunk[static_cast<std::size_t>(2 * i)] = static_cast<std::int16_t>(value);
                chunk[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::int16_t>(-value / 2);
            }
            int code = 0;
            if (pa_simple_write(stream_, chunk.data(), chunk.size() * 2, &code) < 0)
                return;
        }
    }
    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

std::vector<unsigned char> ReadFrames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

int Signed(unsigned char byte) {
    return static_cast<signed char>(byte);
}

TEST(Capture, PlayerHandsThePluginTheToneTheSystemPlays) {
    player_testing::PulseServer server;
    if (!server.running()) {
        GTEST_SKIP() << "no PulseAudio server could be started (" << server.failure()
                     << "); install pulseaudio to run this test";
    }
    TonePlayer tone(server.address());
    ASSERT_TRUE(tone.playing());
    player_testing::ScratchFolder folder;
    const std::string out = folder.Path("frames");
    PlayerRun run = RunPlayer({"--capture", "--plugin", FAKE_VIS_PATH},
                              {{"PULSE_SERVER", server.address()},
                               {"FAKE_VIS_OUT", out},
                               {"FAKE_VIS_RENDERS", std::to_string(kRenders)}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<unsigned char> frames = ReadFrames(out);
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(kRenders * kFrameBytes));
    // The last frames, once the capture has run a while: the tone, left and right as played.
    for (int f = kRenders - 10; f < kRenders; ++f) {
        const unsigned char* left = frames.data() + f * kFrameBytes;
        const unsigned char* right = left + 576;
        int highest = -128;
        int lowest = 127;
        int rises = 0;
        for (int i = 0; i < 576; ++i) {
            highest = std::max(highest, Signed(left[i]));
            lowest = std::min(lowest, Signed(left[i]));
            if (i > 0 && Signed(left[i - 1]) < 0 && Signed(left[i]) >= 0)
                ++rises;
            ASSERT_NEAR(Signed(right[i]), -Signed(left[i]) / 2.0, 1.5) << "frame " << f << " " << i;
        }
        EXPECT_NEAR(highest, 63, 2) << "frame " << f;
        EXPECT_NEAR(lowest, -64, 2) << "frame " << f;
        // 576 frames hold 5.76 periods of 100 frames.
        EXPECT_GE(rises, 5) << "frame " << f;
        EXPECT_LE(rises, 6) << "frame " << f;
    }
}

TEST(Capture, ListsTheServersSourcesWithTheOutputsMonitor) {
    player_testing::PulseServer server;
    if (!server.running())
        GTEST_SKIP() << "no PulseAudio server (" << server.failure() << ")";
    PlayerRun run = RunPlayer({"--list-devices"}, {{"PULSE_SERVER", server.address()}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("tolvek_test_sink.monitor"), std::string::npos) << run.out;
}

TEST(Capture, WithoutASoundServerSaysSoOnceAndShowsSilence) {
    player_testing::ScratchFolder folder;
    const std::string out = folder.Path("frames");
    const std::string nowhere = "unix:" + folder.Path("no-such-socket");
    PlayerRun run =
        RunPlayer({"--capture", "--plugin", FAKE_VIS_PATH},
                  {{"PULSE_SERVER", nowhere}, {"FAKE_VIS_OUT", out}, {"FAKE_VIS_RENDERS", "5"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = player_testing::Lines(run.err);
    long mentions = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("no sound server") != std::string::npos;
    });
    EXPECT_EQ(mentions, 1) << run.err;
    EXPECT_NE(run.err.find("the show runs on silence"), std::string::npos) << run.err;
    std::vector<unsigned char> frames = ReadFrames(out);
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(5 * kFrameBytes));
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 0), 5 * kFrameBytes);

    std::vector<player::CaptureDevice> devices;
    std::string error;
    setenv("PULSE_SERVER", nowhere.c_str(), 1);
    EXPECT_FALSE(player::ListCaptureDevices(&devices, &error));
    unsetenv("PULSE_SERVER");
    EXPECT_EQ(error.rfind("no sound server", 0), 0u) << error;
}

}  // namespace
