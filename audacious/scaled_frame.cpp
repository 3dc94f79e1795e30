// Nearest-neighbour scaling through the palette.
#include "audacious/scaled_frame.h"

#include <cstring>

namespace audacious {

Box Letterbox(int areaWidth, int areaHeight, int frameWidth, int frameHeight) {
    if (frameWidth <= 0 || frameHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return {};
    int w = areaWidth;
    int h = static_cast<int>(static_cast<long long>(w) * frameHeight / frameWidth);
    if (h > areaHeight) {
        h = areaHeight;
        w = static_cast<int>(static_cast<long long>(h) * frameWidth / frameHeight);
    }
    return {(areaWidth - w) / 2, (areaHeight - h) / 2, w, h};
}

bool ScaledFrame::Scale(const hostkit::RenderedFrame& frame, int serial, int width, int height) {
    if (width <= 0 || height <= 0 || frame.width <= 0 || frame.height <= 0)
        return false;
    if (serial == serial_ && width == width_ && height == height_)
        return false;
    serial_ = serial;
    if (width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    }
    // The columns depend on the frame's width as much as on the view's: another plug-in's
    // frames in the same view would otherwise be read past their rows.
    if (static_cast<int>(columns_.size()) != width || columnsFrameWidth_ != frame.width) {
        columnsFrameWidth_ = frame.width;
        columns_.resize(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x)
            columns_[static_cast<std::size_t>(x)] = x * frame.width / width;
    }
    if (!coloursValid_ ||
        std::memcmp(palette_.data(), frame.palette.data(), sizeof palette_) != 0) {
        palette_ = frame.palette;
        for (std::size_t i = 0; i < colours_.size(); ++i) {
            const PALETTEENTRY& e = palette_[i];
            colours_[i] = 0xFF000000u | (std::uint32_t{e.peRed} << 16) |
                          (std::uint32_t{e.peGreen} << 8) | std::uint32_t{e.peBlue};
        }
        coloursValid_ = true;
    }
    int previousSource = -1;
    for (int y = 0; y < height; ++y) {
        const int source = static_cast<int>(static_cast<long long>(y) * frame.height / height);
        std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width;
        if (source == previousSource) {
            std::memcpy(row, row - width, static_cast<std::size_t>(width) * 4);
            continue;
        }
        previousSource = source;
        const BYTE* indices = frame.pixels.data() + static_cast<std::size_t>(source) * frame.width;
        for (int x = 0; x < width; ++x)
            row[x] = colours_[indices[columns_[static_cast<std::size_t>(x)]]];
    }
    return true;
}

}  // namespace audacious
