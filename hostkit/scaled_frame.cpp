// Nearest-neighbour scaling through the palette.
#include "hostkit/scaled_frame.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace hostkit {

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

namespace {

// Source columns compared at once: a changed pixel costs the scaling of this many.
constexpr int kChunk = 32;
// Source rows whose changes are told as one rectangle.
constexpr int kBandRows = 16;

bool Same(const BYTE* a, const BYTE* b, int length) {
    if (length != kChunk)
        return std::memcmp(a, b, static_cast<std::size_t>(length)) == 0;
    std::uint64_t x[4], y[4];
    std::memcpy(x, a, sizeof x);
    std::memcpy(y, b, sizeof y);
    return ((x[0] ^ y[0]) | (x[1] ^ y[1]) | (x[2] ^ y[2]) | (x[3] ^ y[3])) == 0;
}

// The source line under the centre of shown line `d`: an enlarged frame sampled at its pixels'
// centres gives back the frame exactly, whatever the scale.
int Nearest(int d, int sources, int shown) {
    return static_cast<int>((2LL * d + 1) * sources / (2LL * shown));
}

// For each of `sources` + 1 source lines, the first of `shown` lines that shows it or a later one.
std::vector<int> FirstShown(int sources, int shown) {
    std::vector<int> first(static_cast<std::size_t>(sources) + 1);
    int at = 0;
    for (int s = 0; s <= sources; ++s) {
        while (at < shown && Nearest(at, sources, shown) < s)
            ++at;
        first[static_cast<std::size_t>(s)] = at;
    }
    return first;
}

// An 8-bit channel value placed under `mask`, widened or narrowed to the mask's bits.
std::uint32_t Channel(BYTE value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int bits = std::popcount(mask);
    std::uint32_t v = value;
    v = bits >= 8 ? v << (bits - 8) : v >> (8 - bits);
    return (v << std::countr_zero(mask)) & mask;
}

}  // namespace

void ScaledFrame::Layout(const RenderedFrame& frame, int width, int height) {
    width_ = width;
    height_ = height;
    // The columns depend on the frame's width as much as on the view's: another plug-in's
    // frames in the same view would otherwise be read past their rows.
    frameWidth_ = frame.width;
    frameHeight_ = frame.height;
    columns_.resize(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns_[static_cast<std::size_t>(x)] = Nearest(x, frame.width, width);
    firstColumn_ = FirstShown(frame.width, width);
    firstRow_ = FirstShown(frame.height, height);
    previous_.assign(frame.pixels.size(), 0);
    valid_ = false;
}

bool ScaledFrame::TakePalette(const RenderedFrame& frame) {
    if (valid_ && std::memcmp(palette_.data(), frame.palette.data(), sizeof palette_) == 0)
        return false;
    palette_ = frame.palette;
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        const PALETTEENTRY& e = palette_[i];
        colours_[i] = Channel(e.peRed, format_.redMask) | Channel(e.peGreen, format_.greenMask) |
                      Channel(e.peBlue, format_.blueMask) | format_.opaqueBits;
    }
    return true;
}

void ScaledFrame::ScaleSpan(const BYTE* sourceRow, int y, int from, int to) {
    const int first = firstColumn_[static_cast<std::size_t>(from)];
    const int last = firstColumn_[static_cast<std::size_t>(to)];
    const int top = firstRow_[static_cast<std::size_t>(y)];
    const int bottom = firstRow_[static_cast<std::size_t>(y) + 1];
    if (first >= last || top >= bottom)
        return;
    // Local pointers: the stores must not make the compiler read the tables again.
    std::uint32_t* __restrict out = out_ + static_cast<std::ptrdiff_t>(top) * pitch_;
    const int* __restrict columns = columns_.data();
    const std::uint32_t* __restrict colours = colours_.data();
    for (int x = first; x < last; ++x)
        out[x] = colours[sourceRow[columns[x]]];
    // A source row shown on several rows (a view taller than the frame) is scaled once.
    for (int row = top + 1; row < bottom; ++row) {
        std::memcpy(out_ + static_cast<std::ptrdiff_t>(row) * pitch_ + first, out + first,
                    static_cast<std::size_t>(last - first) * 4);
    }
}

Box ScaledFrame::Scale(const RenderedFrame& frame, int serial, int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (pixels_.size() != size) {
        pixels_.assign(size, 0);
        out_ = nullptr;  // scaled all again
    }
    return ScaleInto(frame, serial, width, height, pixels_.data(), width);
}

Box ScaledFrame::ScaleInto(const RenderedFrame& frame, int serial, int width, int height,
                           std::uint32_t* out, int pitchPixels) {
    if (width <= 0 || height <= 0 || frame.width <= 0 || frame.height <= 0 || out == nullptr ||
        pitchPixels < width ||
        frame.pixels.size() < static_cast<std::size_t>(frame.width) * frame.height) {
        return {};
    }
    const bool sameLayout = width == width_ && height == height_ && frame.width == frameWidth_ &&
                            frame.height == frameHeight_;
    if (!sameLayout)
        Layout(frame, width, height);
    if (out != out_ || pitchPixels != pitch_) {
        out_ = out;
        pitch_ = pitchPixels;
        valid_ = false;  // pixels that hold nothing of ours yet
    }
    if (serial == serial_ && valid_)
        return {};
    serial_ = serial;
    const bool all = TakePalette(frame) || !valid_;  // everything is scaled
    valid_ = true;
    changed_.clear();
    const int frameWidth = frame.width;
    for (int band = 0; band < frame.height; band += kBandRows) {
        const int bandEnd = std::min(band + kBandRows, frame.height);
        int left = width, right = 0;
        for (int y = band; y < bandEnd; ++y) {
            if (firstRow_[static_cast<std::size_t>(y)] ==
                firstRow_[static_cast<std::size_t>(y) + 1])
                continue;  // a row the view leaves out
            const BYTE* row = frame.pixels.data() + static_cast<std::size_t>(y) * frameWidth;
            BYTE* before = previous_.data() + static_cast<std::size_t>(y) * frameWidth;
            if (!all && std::memcmp(row, before, static_cast<std::size_t>(frameWidth)) == 0)
                continue;  // most rows, most of the time
            for (int c = 0; c < frameWidth;) {
                const int end = std::min(c + kChunk, frameWidth);
                if (!all && Same(row + c, before + c, end - c)) {
                    c = end;
                    continue;
                }
                // The changed chunks that follow are scaled with this one.
                int runEnd = end;
                while (runEnd < frameWidth) {
                    const int next = std::min(runEnd + kChunk, frameWidth);
                    if (!all && Same(row + runEnd, before + runEnd, next - runEnd))
                        break;
                    runEnd = next;
                }
                ScaleSpan(row, y, c, runEnd);
                std::memcpy(before + c, row + c, static_cast<std::size_t>(runEnd - c));
                left = std::min(left, firstColumn_[static_cast<std::size_t>(c)]);
                right = std::max(right, firstColumn_[static_cast<std::size_t>(runEnd)]);
                c = runEnd;
            }
        }
        const int top = firstRow_[static_cast<std::size_t>(band)];
        const int bottom = firstRow_[static_cast<std::size_t>(bandEnd)];
        if (right > left && bottom > top)
            changed_.push_back({left, top, right - left, bottom - top});
    }
    if (changed_.empty())
        return {};
    Box all_{changed_.front()};
    int right = all_.x + all_.width;
    for (const Box& box : changed_) {
        all_.x = std::min(all_.x, box.x);
        right = std::max(right, box.x + box.width);
    }
    all_.width = right - all_.x;
    all_.height = changed_.back().y + changed_.back().height - all_.y;
    return all_;
}

}  // namespace hostkit
