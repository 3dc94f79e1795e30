// The presented indexed frame made ready for painting: scaled by nearest neighbour through its
// palette into 32-bit pixels of the size it is shown at. The pixels are 0xFFRRGGBB words, which
// Qt's RGB32 images and cairo's RGB24 surfaces both read as they are, so both widgets paint them
// without another conversion.
//
// Most of the show stands still from one frame to the next (the sky, the grass, the tree phase's
// background; a trace or a shimmer moves), so only the parts of the frame that changed are scaled
// again, and the view repaints only the rectangle they cover.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "hostkit/presented_frame.h"

namespace audacious {

// A rectangle of the view, or of the scaled picture.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The largest rectangle of the frame's aspect inside an area, centred; the rest is black.
Box Letterbox(int areaWidth, int areaHeight, int frameWidth, int frameHeight);

class ScaledFrame {
  public:
    // `frame` at width x height; `serial` tells a new frame from the one scaled last. Returns
    // the part of the picture that changed since the last call (all of it after a new size or a
    // new palette; nothing when the frame is the same).
    Box Scale(const hostkit::RenderedFrame& frame, int serial, int width, int height);
    // The same part as a few rectangles, one a band of rows, for the view to repaint.
    const std::vector<Box>& changed() const { return changed_; }

    const std::uint32_t* pixels() const { return pixels_.data(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int strideBytes() const { return width_ * 4; }

  private:
    void Layout(const hostkit::RenderedFrame& frame, int width, int height);
    bool TakePalette(const hostkit::RenderedFrame& frame);
    // The shown rows [first, last) of source row y, scaled in the source columns [from, to).
    void ScaleSpan(const BYTE* sourceRow, int y, int from, int to);

    std::vector<std::uint32_t> pixels_;
    std::vector<Box> changed_;
    int width_ = 0;
    int height_ = 0;
    int serial_ = -1;
    // The source column of each shown column and the first shown column of each source column
    // (one more at the end); the first shown row of each source row (one more at the end).
    std::vector<int> columns_;
    std::vector<int> firstColumn_;
    std::vector<int> firstRow_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    // The frame scaled last, to find what changed.
    std::vector<BYTE> previous_;
    // The palette as 32-bit colours, converted again only when it changed.
    std::array<PALETTEENTRY, 256> palette_{};
    std::array<std::uint32_t, 256> colours_{};
    bool valid_ = false;
};

}  // namespace audacious
