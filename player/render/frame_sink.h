// The places the offline renderer writes its frames to.
#pragma once

#include <string>

#include "hostkit/presented_frame.h"

namespace player {

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // Writes frame number `frame`; returns an empty string or one line saying what failed.
    virtual std::string Write(int frame, const hostkit::RenderedFrame& image) = 0;
    // Completes the output after the last frame written (also after an early stop).
    virtual std::string Finish() { return {}; }
};

}  // namespace player
