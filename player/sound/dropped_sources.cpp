// The walk of dropped sources.
#include "player/sound/dropped_sources.h"

#include "hostkit/playlist.h"

namespace player {

DroppedSources::DroppedSources(std::vector<std::string> names) {
    thread_ = std::thread([this, names = std::move(names)] {
        std::vector<std::string> lines;
        std::vector<std::string> files = hostkit::ExpandSources(
            names, [&lines](const std::string& line) { lines.push_back(line); }, &cancel_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            files_ = std::move(files);
            lines_ = std::move(lines);
        }
        done_ = true;
    });
}

DroppedSources::~DroppedSources() {
    cancel_ = true;
    thread_.join();
}

std::vector<std::string> DroppedSources::TakeFiles() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(files_);
}

std::vector<std::string> DroppedSources::TakeLines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(lines_);
}

}  // namespace player
