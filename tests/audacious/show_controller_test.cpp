// The controller both Audacious widgets share, driven tick by tick as Audacious's timer drives
// it, with the real vis_tolvek.so (and, where a module must ask for the spectrum, the recording
// plug-in of the player's tests).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <vector>

#include "audacious/show_controller.h"
#include "platform/host_services.h"
#include "tests/player/fake_plugin/fake_vis_record.h"
#include "tests/support/bmp_writer.h"

namespace {

using audacious::ShowController;
using hostkit::PlayerCommand;
namespace fs = std::filesystem;

class RecordingHost : public audacious::HostPlayer {
  public:
    explicit RecordingHost(std::string plugin) : plugin_(std::move(plugin)) {}
    bool Playing() override { return true; }
    hostkit::SoundFormat Format() override { return song; }
    hostkit::SoundRing& Ring() override { return ring; }
    void Act(PlayerCommand command) override { commands.push_back(command); }
    std::string PluginPath() override { return plugin_; }
    bool FullScreenOnStart() override { return false; }
    std::string PicturesFolder() override { return pictures; }
    void StartTimer(int intervalMs, std::function<void()> tick) override {
        timerMs = intervalMs;
        tick_ = std::move(tick);
    }
    void StopTimer() override { tick_ = nullptr; }
    // The timer's ticks, while it runs.
    void Ticks(int n) {
        for (int i = 0; i < n && tick_; ++i)
            tick_();
    }
    bool timerRunning() const { return static_cast<bool>(tick_); }

    hostkit::SoundFormat song{44100, 2};
    hostkit::SoundRing ring{4 * audacious::kAudaciousBlockFrames};
    std::vector<PlayerCommand> commands;
    std::string pictures;
    int timerMs = 0;

  private:
    std::string plugin_;
    std::function<void()> tick_;
};

class RecordingView : public audacious::ShowView {
  public:
    void Repaint() override { ++repaints; }
    void FrameChanged() override { ++frames; }
    void OfferRestart(bool offered) override { restartOffered = offered; }
    void OpenFullScreen() override { fullScreen = true; }
    void CloseFullScreen() override { fullScreen = false; }
    int repaints = 0;
    int frames = 0;
    bool restartOffered = false;
    bool fullScreen = false;
};

std::string BuiltPlugin() {
    return std::string(std::getenv("TOLVEK_PLUGIN_DIR")) + "/vis_tolvek.so";
}

// Audacious's blocks of 512 frames of a sine, `channels` alike.
void PushSine(hostkit::SoundRing& ring, double hz, int channels, int blocks) {
    constexpr int kBlock = audacious::kAudaciousBlockFrames;
    std::vector<float> pcm(static_cast<std::size_t>(kBlock * channels));
    for (int b = 0; b < blocks; ++b) {
        for (int f = 0; f < kBlock; ++f) {
            const double t = (b * kBlock + f) / 44100.0;
            for (int c = 0; c < channels; ++c) {
                pcm[static_cast<std::size_t>(f * channels + c)] =
                    static_cast<float>(0.9 * std::sin(2 * std::numbers::pi * hz * t));
            }
        }
        ring.Push(pcm.data(), kBlock, channels);
    }
}

TEST(AudaciousController, ShowsTheFramesAndAnswersTheKeysAsThePlayerDoes) {
    RecordingHost host(BuiltPlugin());
    const testing_support::TempFolder scratch;
    host.pictures = scratch.Path("pictures");
    RecordingView view;
    ShowController controller(host, view);
    controller.ViewShown();
    ASSERT_TRUE(controller.running()) << controller.NoticeText();
    EXPECT_EQ(host.timerMs, 25);
    EXPECT_EQ(controller.frame(), nullptr);
    PushSine(host.ring, 440, 2, 2);
    host.Ticks(10);
    ASSERT_NE(controller.frame(), nullptr);
    EXPECT_EQ(controller.frameSerial(), 10);
    EXPECT_EQ(view.frames, 10);
    EXPECT_EQ(controller.NoticeText(), "");

    // S and R are Audacious's shuffle and repeat; P saves the frame on screen; F full screen.
    for (WPARAM key : {WPARAM{'S'}, WPARAM{'R'}, WPARAM{'C'}, WPARAM{'P'}, WPARAM{'F'}}) {
        EXPECT_TRUE(controller.Key(key, true, false));
        EXPECT_TRUE(controller.Key(key, false, false));
    }
    host.Ticks(1);
    EXPECT_EQ(host.commands,
              (std::vector<PlayerCommand>{PlayerCommand::ToggleShuffle, PlayerCommand::ToggleRepeat,
                                          PlayerCommand::Pause}));
    EXPECT_TRUE(view.fullScreen);
    std::vector<fs::path> saved;
    for (const auto& entry : fs::directory_iterator(host.pictures))
        saved.push_back(entry.path());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_NE(controller.NoticeText().find(saved.front().string()), std::string::npos)
        << controller.NoticeText();
    EXPECT_GT(fs::file_size(saved.front()), 1000u);
    host.Ticks(200);  // the word passes
    EXPECT_EQ(controller.NoticeText(), "");

    // Escape ends the show: the full-screen view closes, the button is offered, the timer stops;
    // the button starts it again.
    controller.Key(VK_ESCAPE, true, false);
    host.Ticks(1);
    EXPECT_FALSE(controller.running());
    EXPECT_FALSE(view.fullScreen);
    EXPECT_TRUE(view.restartOffered);
    EXPECT_FALSE(host.timerRunning());
    EXPECT_EQ(controller.NoticeText(), "The show has ended.");
    EXPECT_EQ(platform::CountWindows(), 1);  // the host's own
    EXPECT_EQ(platform::CountDisplayObjects(), 0);
    controller.ViewShown();  // shown again without asking: it stays ended
    EXPECT_FALSE(controller.running());
    controller.StartAgain();
    EXPECT_TRUE(controller.running());
    EXPECT_FALSE(view.restartOffered);
    host.Ticks(3);
    EXPECT_EQ(controller.NoticeText(), "");
}

TEST(AudaciousController, TheReasonTheShowEndedStaysBesideTheEnd) {
    RecordingHost host(BuiltPlugin());
    RecordingView view;
    ShowController controller(host, view);
    // The display cannot take the show's mode: the show says so and asks to quit.
    platform::InjectDisplayFault("SetDisplayMode", DDERR_INVALIDMODE);
    controller.ViewShown();
    host.Ticks(2);
    platform::ClearDisplayFaults();
    EXPECT_FALSE(controller.running());
    const std::string notice = controller.NoticeText();
    EXPECT_NE(notice.find("DirectDraw Error"), std::string::npos) << notice;
    EXPECT_NE(notice.find("The show has ended."), std::string::npos) << notice;
}

TEST(AudaciousController, SpectrumHasTheRealPitchAndNChTheSoundHandedOver) {
    RecordingHost host(FAKE_VIS_PATH);
    RecordingView view;
    ShowController controller(host, view);
    controller.ViewShown();
    ASSERT_TRUE(controller.running()) << controller.NoticeText();
    // The recording plug-in, asked to want the spectrum of both channels.
    void* library = dlopen(FAKE_VIS_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto header = reinterpret_cast<winampVisHeader* (*)()>(dlsym(library, "winampVisGetHeader"));
    auto record = reinterpret_cast<FakeVisRecordFunction>(dlsym(library, "fakeVisRecord"))();
    header()->getModule(0)->spectrumNch = 2;
    // The song says stereo; Audacious hands over mono.
    constexpr double kHz = 2000;
    PushSine(host.ring, kHz, 1, 3);
    host.Ticks(1);
    ASSERT_FALSE(record->spectra.empty());
    EXPECT_EQ(record->formats.back()[1], 1) << "nCh is not the channels handed over";
    const auto& spectrum = record->spectra.back();
    int peak = 0;
    for (int e = 0; e < kWaveformSamples; ++e)
        peak = spectrum[static_cast<std::size_t>(e)] > spectrum[static_cast<std::size_t>(peak)]
                   ? e
                   : peak;
    // 576 entries over half the sample rate.
    const double expected = kHz / 22050.0 * kWaveformSamples;
    EXPECT_NEAR(peak, expected, 1.5)
        << "the spectrum's peak is at " << peak * 22050.0 / 576 << " Hz";
    header()->getModule(0)->spectrumNch = 0;
    controller.Stop();
    record->Clear();
    dlclose(library);
}

}  // namespace
