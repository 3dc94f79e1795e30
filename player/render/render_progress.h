// How far a render has come: a redrawn bar on a terminal, a plain line now and then otherwise.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace player {

// "[#######.............]  1234/4180  312.4 fps  0:09 left" with a bar `barWidth` wide.
std::string FormatProgressBar(int done, int total, double fps, int barWidth);
// "1234/4180 frames, 312.4 fps, 0:09 left".
std::string FormatProgressLine(int done, int total, double fps);

class RenderProgress {
  public:
    // `seconds` reads a steady clock; `terminal` chooses the bar.
    RenderProgress(std::FILE* out, bool terminal, std::function<double()> seconds, int total);

    // After each rendered frame (`done` frames so far).
    void Update(int done);
    // Ends the bar's line; a terminal shows the final count.
    void Finish(int done);

    double elapsedSeconds() const;
    // Frames per second over the run so far.
    double FramesPerSecond(int done) const;

  private:
    std::FILE* out_;
    bool terminal_;
    std::function<double()> seconds_;
    int total_;
    double start_;
    double lastShown_;
};

}  // namespace player
