// Palette indices to planar YUV 4:2:0 through three 256-entry tables.
#include "player/render/yuv_frame.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace player {

ColourMatrix MatrixForHeight(int height) {
    return height >= 720 ? ColourMatrix::kBt709 : ColourMatrix::kBt601;
}

std::string MatrixName(ColourMatrix matrix) {
    return matrix == ColourMatrix::kBt709 ? "bt709" : "smpte170m";
}

YuvColour ToYuv(const PALETTEENTRY& colour, ColourMatrix matrix) {
    const double kr = matrix == ColourMatrix::kBt709 ? 0.2126 : 0.299;
    const double kb = matrix == ColourMatrix::kBt709 ? 0.0722 : 0.114;
    const double r = colour.peRed / 255.0;
    const double g = colour.peGreen / 255.0;
    const double b = colour.peBlue / 255.0;
    const double y = kr * r + (1.0 - kr - kb) * g + kb * b;
    const double pb = (b - y) / (2.0 * (1.0 - kb));
    const double pr = (r - y) / (2.0 * (1.0 - kr));
    auto level = [](double value, long low, long high) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(value), low, high));
    };
    return {level(16.0 + 219.0 * y, 16, 235), level(128.0 + 224.0 * pb, 16, 240),
            level(128.0 + 224.0 * pr, 16, 240)};
}

namespace {

// Eight picture bytes are put together and stored at once: the picture is bigger than the
// caches, and one store in eight is what keeps the conversion at the speed of memory.
// Byte k of the eight goes `Shift(k)` bits up.
constexpr int Shift(int k) {
    return std::endian::native == std::endian::little ? 8 * k : 56 - 8 * k;
}

void Store(std::uint8_t* out, std::uint64_t eight) {
    std::memcpy(out, &eight, sizeof eight);
}

// out[x] = table[in[x]] for `count` samples.
void LookUpRow(const BYTE* in, int count, const std::uint8_t* table, std::uint8_t* out) {
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        std::uint64_t eight = 0;
        for (int k = 0; k < 8; ++k)
            eight |= std::uint64_t{table[in[x + k]]} << Shift(k);
        Store(out + x, eight);
    }
    for (; x < count; ++x)
        out[x] = table[in[x]];
}

}  // namespace

PictureRect FitPicture(int width, int height, int outWidth, int outHeight) {
    const long long wide = static_cast<long long>(outWidth) * height;
    const long long tall = static_cast<long long>(outHeight) * width;
    auto even = [](long long value) { return static_cast<int>(value / 2 * 2); };
    if (wide == tall || width <= 0 || height <= 0)
        return {0, 0, outWidth, outHeight};
    if (wide > tall) {
        const int fitted = std::max(2, even(static_cast<long long>(outHeight) * width / height));
        return {even((outWidth - fitted) / 2), 0, fitted, outHeight};
    }
    const int fitted = std::max(2, even(static_cast<long long>(outWidth) * height / width));
    return {0, even((outHeight - fitted) / 2), outWidth, fitted};
}

YuvFrameConverter::YuvFrameConverter(int width, int height, int outWidth, int outHeight)
    : YuvFrameConverter(width, height, outWidth, outHeight, {0, 0, outWidth, outHeight}) {}

YuvFrameConverter::YuvFrameConverter(int width, int height, int outWidth, int outHeight,
                                     PictureRect rect)
    : width_(width),
      outWidth_(outWidth),
      outHeight_(outHeight),
      rect_(rect),
      matrix_(MatrixForHeight(outHeight)),
      columns_(static_cast<std::size_t>(rect.width)),
      rows_(static_cast<std::size_t>(rect.height)) {
    // The show pixel under each picture sample's centre, as ffmpeg's "neighbor" scaling takes it.
    auto nearest = [](int out, int size, int outSize) {
        const long long at = (2LL * out + 1) * size / (2LL * outSize);
        return static_cast<int>(std::min<long long>(at, size - 1));
    };
    for (int x = 0; x < rect_.width; ++x)
        columns_[static_cast<std::size_t>(x)] = nearest(x, width_, rect_.width);
    for (int y = 0; y < rect_.height; ++y)
        rows_[static_cast<std::size_t>(y)] = nearest(y, height, rect_.height);
    factor_ = rect_.width % width_ == 0 ? rect_.width / width_ : 0;
    columnsRepeat_ = true;
    for (int x = 0; x + 1 < rect_.width; x += 2) {
        if (columns_[static_cast<std::size_t>(x)] != columns_[static_cast<std::size_t>(x + 1)])
            columnsRepeat_ = false;
    }
}

std::size_t YuvFrameConverter::pictureBytes() const {
    const auto luma = static_cast<std::size_t>(outWidth_) * static_cast<std::size_t>(outHeight_);
    return luma + luma / 2;
}

void YuvFrameConverter::BuildTables(const PALETTEENTRY* palette) {
    if (tablesValid_ && std::memcmp(tablePalette_, palette, sizeof tablePalette_) == 0)
        return;
    std::memcpy(tablePalette_, palette, sizeof tablePalette_);
    for (int i = 0; i < 256; ++i) {
        const YuvColour colour = ToYuv(palette[i], matrix_);
        luma_[i] = colour.y;
        blue_[i] = colour.cb;
        red_[i] = colour.cr;
    }
    tablesValid_ = true;
}

void YuvFrameConverter::Convert(const BYTE* pixels, const PALETTEENTRY* palette,
                                std::uint8_t* picture) {
    BuildTables(palette);
    const std::size_t stride = static_cast<std::size_t>(outWidth_);
    const std::size_t lumaBytes = stride * static_cast<std::size_t>(outHeight_);
    const bool barred = rect_.width != outWidth_ || rect_.height != outHeight_;
    if (barred) {
        // Black bars: the frame's rectangle is written over them below.
        std::memset(picture, 16, lumaBytes);
        std::memset(picture + lumaBytes, 128, lumaBytes / 2);
    }
    auto showRow = [&](int row) { return pixels + static_cast<std::size_t>(row) * width_; };
    const std::size_t rowBytes = static_cast<std::size_t>(rect_.width);
    std::uint8_t* origin = picture + static_cast<std::size_t>(rect_.y) * stride + rect_.x;

    for (int y = 0; y < rect_.height; ++y) {
        std::uint8_t* out = origin + static_cast<std::size_t>(y) * stride;
        const int row = rows_[static_cast<std::size_t>(y)];
        // Scaled up, most picture rows repeat the one above.
        if (y > 0 && row == rows_[static_cast<std::size_t>(y - 1)]) {
            std::memcpy(out, out - stride, rowBytes);
            continue;
        }
        const BYTE* in = showRow(row);
        if (factor_ == 2) {
            int x = 0;
            for (; x + 4 <= width_; x += 4) {
                std::uint64_t eight = 0;
                for (int k = 0; k < 4; ++k) {
                    const std::uint64_t value = luma_[in[x + k]];
                    eight |= value << Shift(2 * k) | value << Shift(2 * k + 1);
                }
                Store(out + 2 * x, eight);
            }
            for (; x < width_; ++x) {
                out[2 * x] = luma_[in[x]];
                out[2 * x + 1] = luma_[in[x]];
            }
        } else if (factor_ == 1) {
            LookUpRow(in, width_, luma_, out);
        } else {
            for (int x = 0; x < rect_.width; ++x)
                out[x] = luma_[in[columns_[static_cast<std::size_t>(x)]]];
        }
    }

    const std::size_t chromaStride = stride / 2;
    const int chromaWidth = rect_.width / 2;
    const int chromaHeight = rect_.height / 2;
    const std::size_t chromaOrigin = static_cast<std::size_t>(rect_.y / 2) * chromaStride +
                                     static_cast<std::size_t>(rect_.x / 2);
    std::uint8_t* blue = picture + lumaBytes + chromaOrigin;
    std::uint8_t* red = picture + lumaBytes + lumaBytes / 4 + chromaOrigin;
    for (int y = 0; y < chromaHeight; ++y) {
        const BYTE* top = showRow(rows_[static_cast<std::size_t>(2 * y)]);
        const BYTE* bottom = showRow(rows_[static_cast<std::size_t>(2 * y + 1)]);
        std::uint8_t* blueOut = blue + static_cast<std::size_t>(y) * chromaStride;
        std::uint8_t* redOut = red + static_cast<std::size_t>(y) * chromaStride;
        if (top == bottom && factor_ == 2) {
            // Twice the show's size: one show pixel under each chroma sample.
            LookUpRow(top, chromaWidth, blue_, blueOut);
            LookUpRow(top, chromaWidth, red_, redOut);
        } else if (top == bottom && columnsRepeat_) {
            for (int x = 0; x < chromaWidth; ++x) {
                const BYTE index = top[columns_[static_cast<std::size_t>(2 * x)]];
                blueOut[x] = blue_[index];
                redOut[x] = red_[index];
            }
        } else {
            for (int x = 0; x < chromaWidth; ++x) {
                const int left = columns_[static_cast<std::size_t>(2 * x)];
                const int right = columns_[static_cast<std::size_t>(2 * x + 1)];
                const BYTE a = top[left];
                const BYTE b = top[right];
                const BYTE c = bottom[left];
                const BYTE d = bottom[right];
                if (a == b && c == d && a == c) {
                    blueOut[x] = blue_[a];
                    redOut[x] = red_[a];
                } else {
                    blueOut[x] = static_cast<std::uint8_t>(
                        (blue_[a] + blue_[b] + blue_[c] + blue_[d] + 2) >> 2);
                    redOut[x] =
                        static_cast<std::uint8_t>((red_[a] + red_[b] + red_[c] + red_[d] + 2) >> 2);
                }
            }
        }
    }
}

}  // namespace player
