// The show's presented frame on OBS's graphics side: its palette indices in an 8-bit texture
// (a quarter of the bytes of a 32-bit frame, uploaded once per new frame) and its palette as a
// 256-entry table texture, updated only when the palette changed; drawing looks every pixel up
// in the table, as the player's presentation does on the processor.
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

    // Inside OBS's graphics context. Creates or resizes the textures to the frame's size.
    void Upload(const hostkit::RenderedFrame& frame);
    // Inside OBS's graphics context: the frame at the origin, at its size (the current matrix
    // scales it). False when there is nothing to draw.
    bool Draw();
    // Inside OBS's graphics context: the textures and the effect go.
    void Release();

    int width() const { return width_; }
    int height() const { return height_; }

  private:
    gs_texture_t* indices_ = nullptr;
    gs_texture_t* palette_ = nullptr;
    gs_effect_t* effect_ = nullptr;
    bool effectFailed_ = false;
    int width_ = 0;
    int height_ = 0;
    bool paletteValid_ = false;
    std::array<PALETTEENTRY, 256> shownPalette_{};
};

}  // namespace tolvek_obs
