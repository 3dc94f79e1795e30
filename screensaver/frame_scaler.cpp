// Letterboxing and nearest-neighbour scaling through the colour table.
#include "screensaver/frame_scaler.h"

#include <bit>
#include <cstring>

namespace saver {
namespace {

// An 8-bit channel value placed under `mask`, widened or narrowed to the mask's bits.
std::uint32_t Channel(BYTE value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t v = value;
    v = bits >= 8 ? v << (bits - 8) : v >> (8 - bits);
    return (v << shift) & mask;
}

// The source pixel whose centre is nearest the centre of destination pixel `d`.
int Nearest(int d, int source, int destination) {
    return static_cast<int>((2LL * d + 1) * source / (2LL * destination));
}

}  // namespace

Placement FitFrame(int frameWidth, int frameHeight, int windowWidth, int windowHeight) {
    Placement place;
    if (frameWidth <= 0 || frameHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return place;
    // Whichever side of the window is the tighter fit sets the scale; the other gets bars.
    if (static_cast<long long>(windowWidth) * frameHeight <=
        static_cast<long long>(windowHeight) * frameWidth) {
        place.width = windowWidth;
        place.height =
            static_cast<int>(static_cast<long long>(windowWidth) * frameHeight / frameWidth);
    } else {
        place.height = windowHeight;
        place.width =
            static_cast<int>(static_cast<long long>(windowHeight) * frameWidth / frameHeight);
    }
    place.width = place.width < 1 ? 1 : place.width;
    place.height = place.height < 1 ? 1 : place.height;
    place.x = (windowWidth - place.width) / 2;
    place.y = (windowHeight - place.height) / 2;
    return place;
}

void FrameScaler::UpdateTable(const std::array<PALETTEENTRY, 256>& palette) {
    if (tableValid_ && std::memcmp(palette.data(), palette_.data(), sizeof(palette_)) == 0)
        return;
    palette_ = palette;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const PALETTEENTRY& c = palette[i];
        table_[i] = Channel(c.peRed, format_.redMask) | Channel(c.peGreen, format_.greenMask) |
                    Channel(c.peBlue, format_.blueMask) | format_.opaqueBits;
    }
    tableValid_ = true;
}

void FrameScaler::Scale(const hostkit::RenderedFrame& frame, int width, int height,
                        std::uint32_t* out, int pitchPixels) {
    if (width <= 0 || height <= 0 || frame.width <= 0 || frame.height <= 0)
        return;
    UpdateTable(frame.palette);
    if (columnsFor_[0] != frame.width || columnsFor_[1] != width) {
        columns_.resize(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x)
            columns_[static_cast<std::size_t>(x)] = Nearest(x, frame.width, width);
        columnsFor_[0] = frame.width;
        columnsFor_[1] = width;
    }
    int previousSource = -1;
    for (int y = 0; y < height; ++y) {
        const int source = Nearest(y, frame.height, height);
        std::uint32_t* row = out + static_cast<std::ptrdiff_t>(y) * pitchPixels;
        if (source == previousSource) {
            std::memcpy(row, row - pitchPixels, static_cast<std::size_t>(width) * 4);
            continue;
        }
        previousSource = source;
        const BYTE* indices =
            frame.pixels.data() + static_cast<std::ptrdiff_t>(source) * frame.width;
        for (int x = 0; x < width; ++x)
            row[x] = table_[indices[columns_[static_cast<std::size_t>(x)]]];
    }
}

}  // namespace saver
