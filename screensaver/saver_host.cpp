// The hack's side of the host kit's embedded show: its own loop over the X connection takes
// one turn per delayMs, hands in the capture or silence, paints each presented frame, and ends
// the show through Quit when a signal or the window's end asks for it.
#include "screensaver/saver_host.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/capture/capture_source.h"
#include "hostkit/desktop/embedded_show.h"
#include "screensaver/saver_window.h"
#include "screensaver/window_painter.h"

namespace saver {
namespace {

class SaverClient : public hostkit::HostClient {
  public:
    explicit SaverClient(hostkit::CaptureSource* capture) : capture_(capture) {}

    hostkit::SoundFormat Format() override {
        return {hostkit::kCaptureRate, hostkit::kCaptureChannels};
    }

    void Tick() override {
        if (capture_ == nullptr || captureFailed_)
            return;
        const std::string failure = capture_->failure();
        if (!failure.empty()) {
            std::fprintf(stderr, "tolvek-screensaver: %s; the show goes on with silence\n",
                         failure.c_str());
            captureFailed_ = true;
        }
    }

    bool Paused() override { return false; }

    hostkit::HeardSound Sound(const winampVisModule&) override {
        if (capture_ == nullptr || captureFailed_)
            return {};  // silence
        return {capture_->Heard(), std::nullopt};
    }

  private:
    hostkit::CaptureSource* capture_;
    bool captureFailed_ = false;
};

// Why the hack ends the show before the show ends itself; nothing while it goes on.
std::optional<ShowEnd> Ending(const SaverWindow& window, const volatile std::sig_atomic_t& stop) {
    if (stop != 0)
        return ShowEnd::Stopped;
    if (window.gone())
        return ShowEnd::WindowGone;
    return std::nullopt;
}

}  // namespace

ShowReport HostShow(const std::string& pluginPath, SaverWindow& window, WindowPainter& painter,
                    hostkit::CaptureSource* capture, const volatile std::sig_atomic_t& stop) {
    ShowReport report;
    // The plug-in's message boxes and lines reach the error output (XScreenSaver's log) through
    // the platform already, and a screensaver has nobody to show them to.
    hostkit::EmbeddedShow show(nullptr, nullptr);
    if (!show.Load(pluginPath, &report.error))
        return report;
    SaverClient client(capture);
    if (!show.Start(client, &report.error)) {
        report.end = ShowEnd::NotStarted;
        return report;
    }
    using Clock = std::chrono::steady_clock;
    int painted = 0;
    std::optional<ShowEnd> ending;
    auto paint = [&](bool onlyIfNeeded) {
        const bool full = window.TakeFullPaint();
        if (show.presentCount() == 0 || (onlyIfNeeded && !full) ||
            (show.presentCount() == painted && !full)) {
            return;
        }
        painted = show.presentCount();
        if (!painter.Paint(show.frame(), show.presentCount(), full, &report.error))
            ending = ShowEnd::CannotPaint;
    };
    for (;;) {
        window.HandleEvents();
        if (!ending)
            ending = Ending(window, stop);
        if (ending) {
            show.Stop();
            report.end = *ending;
            break;
        }
        if (show.Turn(client) == hostkit::TurnResult::Ended) {
            report.end = ShowEnd::ShowEnded;
            break;
        }
        paint(false);
        // The module's delayMs until the next turn; a new size or an uncovered window is
        // painted at once meanwhile.
        const auto deadline = Clock::now() + std::chrono::milliseconds(show.delayMs());
        while (!ending && !(ending = Ending(window, stop))) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                break;
            pollfd connection{window.connection(), POLLIN, 0};
            if (poll(&connection, 1, static_cast<int>(left.count())) <= 0)
                break;  // time is up, or a signal came
            window.HandleEvents();
            paint(true);
        }
    }
    report.frames = show.framesRendered();
    report.sharedMemory = painter.sharedMemory();
    return report;
}

void ShowNotice(const std::string& why, SaverWindow& window, WindowPainter& painter,
                const volatile std::sig_atomic_t& stop) {
    // Lines of at most 72 characters, broken at spaces; a long path stays whole on its line.
    std::vector<std::string> lines = {"Quenari Tolvek cannot show here:", ""};
    std::string line;
    for (std::size_t at = 0; at < why.size();) {
        std::size_t end = why.find(' ', at);
        if (end == std::string::npos)
            end = why.size();
        const std::string word = why.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > 72) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty())
        lines.push_back(line);
    window.TakeFullPaint();
    painter.PaintNotice(lines);
    while (!Ending(window, stop)) {
        pollfd connection{window.connection(), POLLIN, 0};
        poll(&connection, 1, 500);
        window.HandleEvents();
        if (window.TakeFullPaint())
            painter.PaintNotice(lines);
    }
}

}  // namespace saver
