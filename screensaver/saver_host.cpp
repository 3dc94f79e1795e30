// The hack's client of the host loop: where its sound comes from, how it waits (on the X
// connection, so a resize is painted at once), where its frames go.
#include "screensaver/saver_host.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/plugin_library.h"
#include "hostkit/presented_frame.h"
#include "hostkit/waveform.h"
#include "player/sound/capture_source.h"
#include "screensaver/saver_window.h"
#include "screensaver/window_painter.h"

namespace saver {
namespace {

LRESULT HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The keys the show forwards have nothing to control here: XScreenSaver takes the input.
    return DefWindowProcA(window, message, wParam, lParam);
}

class SaverClient : public hostkit::HostClient {
  public:
    SaverClient(SaverWindow& window, WindowPainter& painter,
                const hostkit::PresentedFrameCapture& frames, player::CaptureSource* capture,
                const volatile std::sig_atomic_t& stop)
        : window_(window),
          painter_(painter),
          frames_(frames),
          capture_(capture),
          stop_(stop),
          captured_(static_cast<std::size_t>(kWaveformSamples) * player::kCaptureChannels) {}

    // Why the hack ended the show; nothing when the show ended by itself.
    std::optional<ShowEnd> ending() const { return ending_; }
    const std::string& paintError() const { return paintError_; }

    void FillFormat(winampVisModule& module) override {
        module.sRate = player::kCaptureRate;
        module.nCh = player::kCaptureChannels;
    }

    void Tick() override {
        window_.HandleEvents();
        if (!ending_) {
            if (stop_ != 0)
                End(ShowEnd::Stopped);
            else if (window_.gone())
                End(ShowEnd::WindowGone);
        }
        if (capture_ != nullptr && !captureFailureShown_) {
            const std::string failure = capture_->failure();
            if (!failure.empty()) {
                std::fprintf(stderr, "tolvek-screensaver: %s; the show goes on with silence\n",
                             failure.c_str());
                captureFailureShown_ = true;
            }
        }
    }

    // Nothing more is rendered once the end is asked for.
    bool Paused() override { return ending_.has_value(); }

    void FillSound(winampVisModule& module) override {
        hostkit::SoundWindow sound;  // silence
        if (capture_ != nullptr && !captureFailureShown_) {
            // Live sound has no future: the newest frames are the closest to what is heard.
            capture_->Latest(kWaveformSamples, captured_.data());
            sound =
                hostkit::SoundWindow{captured_.data(), kWaveformSamples, player::kCaptureChannels};
        }
        hostkit::FillWaveform(sound, module);
        if (module.spectrumNch > 0)
            hostkit::FillSpectrum(sound, module);
    }

    void Wait(int delayMs) override {
        using Clock = std::chrono::steady_clock;
        Paint(false);
        const auto deadline = Clock::now() + std::chrono::milliseconds(delayMs > 0 ? delayMs : 0);
        // Events arriving meanwhile (a new size, an uncovered window) are painted at once.
        while (stop_ == 0 && !window_.gone() && !ending_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                break;
            pollfd connection{window_.connection(), POLLIN, 0};
            if (poll(&connection, 1, static_cast<int>(left.count())) <= 0)
                break;  // time is up, or a signal came
            window_.HandleEvents();
            Paint(true);
        }
    }

  private:
    void End(ShowEnd why) {
        ending_ = why;
        PostQuitMessage(0);  // the loop calls Quit on its next turn
    }

    void Paint(bool onlyIfNeeded) {
        const bool full = window_.TakeFullPaint();
        const int count = frames_.presentCount();
        if (count == 0 || ending_ || (onlyIfNeeded && !full) || (count == paintedCount_ && !full)) {
            return;
        }
        paintedCount_ = count;
        if (!painter_.Paint(frames_.latest(), full, &paintError_))
            End(ShowEnd::CannotPaint);
    }

    SaverWindow& window_;
    WindowPainter& painter_;
    const hostkit::PresentedFrameCapture& frames_;
    player::CaptureSource* capture_;
    const volatile std::sig_atomic_t& stop_;
    std::optional<ShowEnd> ending_;
    int paintedCount_ = 0;
    bool captureFailureShown_ = false;
    std::vector<std::int16_t> captured_;
    std::string paintError_;
};

}  // namespace

ShowReport HostShow(const std::string& pluginPath, SaverWindow& window, WindowPainter& painter,
                    player::CaptureSource* capture, const volatile std::sig_atomic_t& stop) {
    ShowReport report;
    hostkit::PluginLibrary plugin;
    if (!plugin.Load(pluginPath, &report.error))
        return report;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.lpszClassName = "TolvekScreensaver";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, windowClass.lpszClassName, "tolvek-screensaver", 0, 0, 0, 320,
                                120, nullptr, nullptr, nullptr, nullptr);

    hostkit::PresentedFrameCapture frames;
    SaverClient client(window, painter, frames, capture, stop);
    hostkit::HostLoop loop(*plugin.module(), host, plugin.instance());
    const hostkit::HostEnd end = loop.Host(client);
    DestroyWindow(host);
    UnregisterClassA(windowClass.lpszClassName, nullptr);

    report.frames = loop.framesRendered();
    report.sharedMemory = painter.sharedMemory();
    if (end == hostkit::HostEnd::NotStarted) {
        report.end = ShowEnd::NotStarted;
        report.error = pluginPath + ": the plug-in did not start";
    } else if (end == hostkit::HostEnd::RenderStopped) {
        report.end = ShowEnd::ShowEnded;
    } else {
        report.end = client.ending().value_or(ShowEnd::ShowEnded);
        report.error = client.paintError();
    }
    return report;
}

}  // namespace saver
