// Files and folders dropped on the show, made into files to play on a thread of their own: a
// dropped home folder takes seconds to walk, and the show must not stop for it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace player {

class DroppedSources {
  public:
    // Starts walking `names` (see hostkit::ExpandSources).
    explicit DroppedSources(std::vector<std::string> names);
    // Stops the walk early if it still runs.
    ~DroppedSources();
    DroppedSources(const DroppedSources&) = delete;
    DroppedSources& operator=(const DroppedSources&) = delete;

    bool done() const { return done_.load(); }
    // Once done: the files found, and the lines the walk had to say, in order.
    std::vector<std::string> TakeFiles();
    std::vector<std::string> TakeLines();

  private:
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::vector<std::string> files_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

}  // namespace player
