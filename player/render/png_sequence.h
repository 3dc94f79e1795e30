// Frames written as numbered 8-bit indexed PNG files: DIR/frame-000001.png, ...
#pragma once

#include <string>

#include "player/render/frame_sink.h"

namespace player {

// The file name of frame k: six digits, more only past 999999.
std::string PngFrameName(int frame);

class PngSequence : public FrameSink {
  public:
    explicit PngSequence(std::string folder) : folder_(std::move(folder)) {}

    // Creates the folder when it is missing; an empty string or one line naming the problem.
    std::string Open();
    std::string Write(int frame, const hostkit::RenderedFrame& image) override;

    const std::string& folder() const { return folder_; }
    int written() const { return written_; }

  private:
    std::string folder_;
    int written_ = 0;
};

}  // namespace player
