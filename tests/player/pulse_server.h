// A PulseAudio server of a test's own: a null sink in a private folder, stopped by process id.
#pragma once

#include <sys/types.h>
#include <string>

namespace player_testing {

class PulseServer {
  public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool running() const { return pid_ > 0; }
    // Why it could not be started.
    const std::string& failure() const { return failure_; }
    // What PULSE_SERVER must say to reach it.
    std::string address() const { return "unix:" + socket_; }

  private:
    std::string folder_;
    std::string socket_;
    pid_t pid_ = -1;
    std::string failure_;
};

}  // namespace player_testing
