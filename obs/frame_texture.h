// The show's presented frame in an OBS texture: palette indices through a 256-entry table
// (rebuilt only when the palette changed) into a dynamic BGRA texture, once per new frame.
#pragma once

#include <graphics/graphics.h>

#include <array>
#include <cstdint>

#include "hostkit/presented_frame.h"

namespace tolvek_obs {

class FrameTexture {
  public:
    FrameTexture() = default;
    FrameTexture(const FrameTexture&) = delete;
    FrameTexture& operator=(const FrameTexture&) = delete;

    // Inside OBS's graphics context. Creates or resizes the texture to the frame's size.
    void Upload(const hostkit::RenderedFrame& frame);
    // Inside OBS's graphics context: the texture goes.
    void Release();

    gs_texture_t* texture() const { return texture_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    gs_texture_t* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool lookupValid_ = false;
    std::array<PALETTEENTRY, 256> palette_{};
    std::array<std::uint32_t, 256> lookup_{};
};

}  // namespace tolvek_obs
