// Status line formatting and output.
#include "player/live/status_line.h"

#include <algorithm>
#include <cmath>

namespace player {

std::string FormatTime(double seconds) {
    auto total = static_cast<long long>(std::floor(std::max(seconds, 0.0)));
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

std::string FormatStatus(const PlayerStatus& status) {
    std::string line = "[" + status.state + "] " + status.source;
    if (status.entries > 1)
        line += " (" + std::to_string(status.entry) + "/" + std::to_string(status.entries) + ")";
    line += "  " + FormatTime(status.positionSeconds);
    if (status.lengthSeconds >= 0.0)
        line += " / " + FormatTime(status.lengthSeconds);
    line += "  vol " + std::to_string(status.volumePercent) + "%";
    if (status.shuffle)
        line += "  shuffle";
    if (status.repeat)
        line += "  repeat";
    return line;
}

StatusLine::StatusLine(std::FILE* out, bool interactive) : out_(out), interactive_(interactive) {}

StatusLine::~StatusLine() {
    if (lineOpen_)
        std::fputc('\n', out_);
}

void StatusLine::Show(const PlayerStatus& status) {
    std::string line = FormatStatus(status);
    if (interactive_) {
        if (line == last_)
            return;
        std::fprintf(out_, "\r%s\033[K", line.c_str());
        std::fflush(out_);
        lineOpen_ = true;
        last_ = line;
        return;
    }
    std::string key = status.state + " " + status.source + " " + std::to_string(status.entry) +
                      (status.shuffle ? " shuffle" : "") + (status.repeat ? " repeat" : "");
    if (key == lastKey_)
        return;
    lastKey_ = key;
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void StatusLine::Message(const std::string& text) {
    if (lineOpen_)
        std::fputs("\r\033[K", out_);
    std::fprintf(out_, "tolvek: %s\n", text.c_str());
    if (lineOpen_)
        std::fprintf(out_, "%s\033[K", last_.c_str());
    std::fflush(out_);
}

}  // namespace player
