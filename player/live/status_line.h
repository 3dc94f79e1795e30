// The player's state on the terminal: one line rewritten in place, or plain lines when the
// error output is not a terminal.
#pragma once

#include <cstdio>
#include <string>

namespace player {

struct PlayerStatus {
    std::string source;  // file name, "built-in tune", the capture source or "silence"
    std::string state;   // playing, paused, stopped, capturing
    double positionSeconds = 0.0;
    double lengthSeconds = -1.0;  // negative: no length (live sound)
    int volumePercent = 100;
    int entry = 0;    // the playing entry's place in the list (from 1), 0 when not a list
    int entries = 0;  // how many entries the list holds
    bool shuffle = false;
    bool repeat = false;
};

std::string FormatStatus(const PlayerStatus& status);
// m:ss, or h:mm:ss from an hour on.
std::string FormatTime(double seconds);

class StatusLine {
  public:
    // `interactive`: rewrite one line; otherwise a line only when the source or state changes.
    StatusLine(std::FILE* out, bool interactive);
    ~StatusLine();
    void Show(const PlayerStatus& status);
    // A message on a line of its own, above the status line.
    void Message(const std::string& text);

  private:
    std::FILE* out_;
    bool interactive_;
    bool lineOpen_ = false;
    std::string last_;
    std::string lastKey_;
};

}  // namespace player
