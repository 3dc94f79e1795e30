// The presented indexed frame made ready for a window: letterboxed, scaled by nearest neighbour
// (the source pixel under each shown pixel's centre) through its palette into 32-bit pixels of
// the size it is shown at. The pixels are packed as the window wants them; by default
// 0xFFRRGGBB, which Qt's RGB32 images and cairo's RGB24 surfaces read as they are.
//
// Most of the show stands still from one frame to the next (the sky, the grass, the tree
// phase's background; a trace or a shimmer moves), so only the parts of the frame that changed
// are scaled again, and the host repaints only the rectangles they cover.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "hostkit/presented_frame.h"

namespace hostkit {

// A rectangle of the view, or of the scaled picture.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Box&) const = default;
};

// The largest rectangle of the frame's aspect inside an area, centred; the rest is black.
Box Letterbox(int areaWidth, int areaHeight, int frameWidth, int frameHeight);

// How a true-colour pixel packs red, green and blue into 32 bits.
struct PixelFormat {
    std::uint32_t redMask = 0xFF0000;
    std::uint32_t greenMask = 0x00FF00;
    std::uint32_t blueMask = 0x0000FF;
    std::uint32_t opaqueBits = 0xFF000000;  // set in every pixel (an alpha, where there is one)
};

class ScaledFrame {
  public:
    explicit ScaledFrame(PixelFormat format = {}) : format_(format) {}

    // `frame` at width x height into pixels of its own; `serial` tells a new frame from the one
    // scaled last. Returns the part of the picture that changed since the last call (all of it
    // after a new size, a new palette or new pixels; nothing when the frame is the same).
    Box Scale(const RenderedFrame& frame, int serial, int width, int height);
    // The same into the host's pixels, rows `pitchPixels` apart, which must keep what was
    // written there until the next call with the same `out` (an image the server reads from).
    Box ScaleInto(const RenderedFrame& frame, int serial, int width, int height, std::uint32_t* out,
                  int pitchPixels);
    // The same part as a few rectangles, one a band of rows, for the host to repaint.
    const std::vector<Box>& changed() const { return changed_; }

    const std::uint32_t* pixels() const { return pixels_.data(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int strideBytes() const { return width_ * 4; }

  private:
    void Layout(const RenderedFrame& frame, int width, int height);
    bool TakePalette(const RenderedFrame& frame);
    // The shown rows of source row y, scaled in the source columns [from, to).
    void ScaleSpan(const BYTE* sourceRow, int y, int from, int to);

    PixelFormat format_;
    std::vector<std::uint32_t> pixels_;
    std::uint32_t* out_ = nullptr;
    int pitch_ = 0;
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

}  // namespace hostkit
