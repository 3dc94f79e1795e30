// The show's 640x480 indexed frame made into the window's pixels: placed with its aspect kept
// (letterboxed), scaled by nearest neighbour, its indices turned into 32-bit pixels through a
// 256-entry table that is rebuilt only when the palette changed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "hostkit/presented_frame.h"

namespace saver {

// Where the frame goes inside the window; the rest of the window is black.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Placement&) const = default;
};
Placement FitFrame(int frameWidth, int frameHeight, int windowWidth, int windowHeight);

// How a TrueColor visual packs red, green and blue into a 32-bit pixel.
struct PixelFormat {
    std::uint32_t redMask = 0xFF0000;
    std::uint32_t greenMask = 0x00FF00;
    std::uint32_t blueMask = 0x0000FF;
    std::uint32_t opaqueBits = 0;  // a 32-bit visual's alpha: set, so the frame is not see-through
};

class FrameScaler {
  public:
    explicit FrameScaler(PixelFormat format) : format_(format) {}

    // Writes `frame` scaled to `width` x `height` into `out`, whose rows are `pitchPixels` apart.
    void Scale(const hostkit::RenderedFrame& frame, int width, int height, std::uint32_t* out,
               int pitchPixels);

  private:
    void UpdateTable(const std::array<PALETTEENTRY, 256>& palette);

    PixelFormat format_;
    std::array<PALETTEENTRY, 256> palette_{};
    bool tableValid_ = false;
    std::array<std::uint32_t, 256> table_{};
    int columnsFor_[2] = {0, 0};  // frame width and scaled width the columns were made for
    std::vector<int> columns_;
};

}  // namespace saver
