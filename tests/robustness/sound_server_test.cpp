// The sound server going away while the player captures from it: the capture says why it ended,
// the show keeps the last sound it had, and nothing waits for the server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "hostkit/capture/capture_source.h"
#include "tests/player/pulse_server.h"

namespace robustness {
namespace {

TEST(SoundServer, VanishingWhileCapturingEndsTheCaptureWithAReasonAndNothingWaits) {
    auto server = std::make_unique<player_testing::PulseServer>();
    if (!server->running())
        GTEST_SKIP() << "no PulseAudio server could be started (" << server->failure() << ")";
    setenv("PULSE_SERVER", server->address().c_str(), 1);
    std::string error;
    auto capture = hostkit::CaptureSource::Open("", &error);
    unsetenv("PULSE_SERVER");
    ASSERT_NE(capture, nullptr) << error;
    std::vector<std::int16_t> frames(576 * 2);
    // Sound (silence from the null sink) is arriving.
    const auto started = std::chrono::steady_clock::now();
    while (capture->Latest(576, frames.data()) == 0 &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(capture->Latest(576, frames.data()), 0);

    server.reset();  // the server process is killed
    const auto killed = std::chrono::steady_clock::now();
    while (capture->failure().empty() &&
           std::chrono::steady_clock::now() - killed < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::string failure = capture->failure();
    EXPECT_NE(failure.find("ended"), std::string::npos) << failure;
    EXPECT_EQ(failure.find('\n'), std::string::npos) << failure;
    // No more frames arrive, reading goes on answering at once, and releasing does not hang.
    const std::int64_t last = capture->Latest(576, frames.data());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(capture->Latest(576, frames.data()), last);
    const auto releasing = std::chrono::steady_clock::now();
    capture.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - releasing, std::chrono::seconds(2));
}

}  // namespace
}  // namespace robustness
