// Taking the show through its whole cycle in about a hundred frames.
#include "tests/robustness/show_tour.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>

#include "host/plugin.h"
#include "platform/host_services.h"
#include "show/show_state.h"
#include "tests/support/host_window.h"
#include "tests/support/load_time_counters.h"

namespace robustness {
namespace {

class Tour {
  public:
    Tour(winampVisModule* module, TourResult& result, const std::function<void(int)>& before)
        : module_(module), result_(result), before_(before) {}

    // n frames from frame counter `from` on (the next Render draws frame from + 1).
    void From(int from, int n) {
        showState.frameCounter = from;
        for (int i = 0; i < n; ++i) {
            // Loud and changing, so the figures and the pulsing picture move.
            for (int c = 0; c < 2; ++c) {
                for (int s = 0; s < kWaveformSamples; ++s) {
                    module_->waveformData[c][s] =
                        static_cast<unsigned char>((s * 37 + result_.renders * 11 + c * 64) & 0xFF);
                }
            }
            if (before_)
                before_(result_.renders);
            ++result_.renders;
            if (module_->Render(module_) != 0)
                ++result_.failedRenders;
            Pump();
        }
    }

    void Pump() {
        if (testing_support::PumpMessages())
            result_.quitRequested = true;
    }

  private:
    winampVisModule* module_;
    TourResult& result_;
    const std::function<void(int)>& before_;
};

}  // namespace

int TourResult::LinesWith(const std::string& text) const {
    std::istringstream in(errors);
    int count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

TourResult TourTheShow(HINSTANCE instance, const std::function<void(int)>& beforeRender) {
    TourResult result;
    // Messages left by an earlier show in this process are not this one's.
    testing_support::DiscardMessages();
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(1000000000);
    std::vector<BYTE> lastFrame;
    platform::ObserverHandle presents =
        platform::AddPresentObserver([&result, &lastFrame](const platform::PresentedFrame& frame) {
            ++result.presented;
            frame.CopyPixels(lastFrame);
        });
    platform::ObserverHandle boxes =
        platform::AddMessageBoxObserver([&result](const char* caption, const char* text) {
            result.messageBoxes.push_back(std::string(caption) + "|" + text);
        });
    testing_support::ResetLoadTimeCounters(showState);
    const int windowsBefore = platform::CountWindows();
    const int objectsBefore = platform::CountDisplayObjects();

    HWND parent = testing_support::OpenHostWindow("RobustnessHost");
    winampVisModule* module = GetModule(0);
    testing_support::PrepareModule(module, parent, instance);

    ::testing::internal::CaptureStderr();
    result.initResult = module->Init(module);
    Tour tour(module, result, beforeRender);
    tour.Pump();
    if (result.initResult == 0) {
        // The image act: slides, the pixel interlude, the tree's palette and leaves, the change.
        for (int scene = 0; scene < 4; ++scene) {
            tour.From(0, 3);
            tour.From(398, 4);
            tour.From(418, 3);
            tour.From(503, 5);
            tour.From(718, 2);
        }
        // The figure act: each large figure with the flock, flattening and the next unfolding;
        // after the third the image act comes back.
        for (int figure = 1; figure < 4; ++figure) {
            tour.From(0, 3);
            tour.From(398, 4);
            tour.From(418, 4);
        }
        tour.From(0, 3);
        // Quit's own window destruction posts the quit message, as it should.
        const bool quitBefore = result.quitRequested;
        module->Quit(module);
        tour.Pump();
        result.quitRequested = quitBefore;
    }
    std::fflush(stderr);
    result.errors = ::testing::internal::GetCapturedStderr();

    testing_support::CloseHostWindow(parent, "RobustnessHost");
    const bool quitBefore = result.quitRequested;
    tour.Pump();
    result.quitRequested = quitBefore;
    presents.Reset();
    boxes.Reset();
    bool seen[256] = {};
    for (BYTE index : lastFrame) {
        result.lastFrameColours += seen[index] ? 0 : 1;
        seen[index] = true;
    }
    result.windowsLeft = platform::CountWindows() - windowsBefore;
    result.displayObjectsLeft = platform::CountDisplayObjects() - objectsBefore;
    return result;
}

void ExpectTheShowWentOn(const TourResult& tour) {
    EXPECT_EQ(tour.initResult, 0);
    EXPECT_GT(tour.renders, 90);
    EXPECT_EQ(tour.failedRenders, 0);
    EXPECT_EQ(tour.presented, tour.renders) << "a frame was not shown";
    EXPECT_FALSE(tour.quitRequested) << tour.errors;
    EXPECT_TRUE(tour.messageBoxes.empty()) << tour.messageBoxes.front();
    EXPECT_EQ(tour.windowsLeft, 0);
    EXPECT_EQ(tour.displayObjectsLeft, 0);
}

}  // namespace robustness
