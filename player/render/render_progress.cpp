// The render's progress report.
#include "player/render/render_progress.h"

#include <algorithm>
#include <cmath>

#include "player/live/status_line.h"

namespace player {
namespace {

constexpr int kBarWidth = 30;
constexpr double kBarInterval = 0.1;   // seconds between redraws of the bar
constexpr double kLineInterval = 5.0;  // seconds between plain lines

std::string TimeLeft(int done, int total, double fps) {
    if (fps <= 0.0 || done <= 0)
        return "--:--";
    return FormatTime(std::ceil((total - done) / fps));
}

std::string Fps(double fps) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f fps", fps);
    return text;
}

}  // namespace

std::string FormatProgressBar(int done, int total, double fps, int barWidth) {
    const double part = total > 0 ? std::clamp(static_cast<double>(done) / total, 0.0, 1.0) : 1.0;
    const int filled = static_cast<int>(part * barWidth);
    std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(barWidth - filled), '.') + "]";
    return bar + "  " + std::to_string(done) + "/" + std::to_string(total) + "  " + Fps(fps) +
           "  " + TimeLeft(done, total, fps) + " left";
}

std::string FormatProgressLine(int done, int total, double fps) {
    return std::to_string(done) + "/" + std::to_string(total) + " frames, " + Fps(fps) + ", " +
           TimeLeft(done, total, fps) + " left";
}

RenderProgress::RenderProgress(std::FILE* out, bool terminal, std::function<double()> seconds,
                               int total)
    : out_(out), terminal_(terminal), seconds_(std::move(seconds)), total_(total) {
    start_ = seconds_();
    lastShown_ = start_;
}

double RenderProgress::elapsedSeconds() const {
    return seconds_() - start_;
}

double RenderProgress::FramesPerSecond(int done) const {
    const double elapsed = elapsedSeconds();
    return elapsed > 0.0 ? done / elapsed : 0.0;
}

void RenderProgress::Update(int done) {
    const double now = seconds_();
    const double interval = terminal_ ? kBarInterval : kLineInterval;
    if (now - lastShown_ < interval && done < total_)
        return;
    if (!terminal_ && done >= total_)
        return;  // the summary that follows says it
    lastShown_ = now;
    const double fps = FramesPerSecond(done);
    if (terminal_) {
        std::fprintf(out_, "\r%s\x1b[K", FormatProgressBar(done, total_, fps, kBarWidth).c_str());
    } else {
        std::fprintf(out_, "tolvek render: %s\n", FormatProgressLine(done, total_, fps).c_str());
    }
    std::fflush(out_);
}

void RenderProgress::Finish(int done) {
    if (!terminal_)
        return;
    std::fprintf(out_, "\r%s\x1b[K\n",
                 FormatProgressBar(done, total_, FramesPerSecond(done), kBarWidth).c_str());
    std::fflush(out_);
}

}  // namespace player
