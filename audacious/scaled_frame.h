// The presented indexed frame made ready for painting: scaled by nearest neighbour through its
// palette into 32-bit pixels of the size it is shown at, once per frame and size. The pixels are
// 0xFFRRGGBB words, which Qt's RGB32 images and cairo's RGB24 surfaces both read as they are, so
// both widgets paint them without another conversion.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "hostkit/presented_frame.h"

namespace audacious {

// The largest rectangle of the frame's aspect inside an area, centred; the rest is black.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
Box Letterbox(int areaWidth, int areaHeight, int frameWidth, int frameHeight);

class ScaledFrame {
  public:
    // `frame` at width x height; `serial` tells a new frame from the one scaled last. False when
    // nothing changed since the last call (or there is nothing to show).
    bool Scale(const hostkit::RenderedFrame& frame, int serial, int width, int height);

    const std::uint32_t* pixels() const { return pixels_.data(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int strideBytes() const { return width_ * 4; }

  private:
    std::vector<std::uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int serial_ = -1;
    // The source column of each shown column, for frames of columnsFrameWidth_.
    std::vector<int> columns_;
    int columnsFrameWidth_ = 0;
    // The palette as 32-bit colours, converted again only when it changed.
    std::array<PALETTEENTRY, 256> palette_{};
    std::array<std::uint32_t, 256> colours_{};
    bool coloursValid_ = false;
};

}  // namespace audacious
