// BMP encoding.
#include "assets/pictures/Bmp.h"

namespace pictures {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    const Palette& palette) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) + 3u) & ~3u;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(kBmpHeaderBytes + imageBytes);
    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    Put32(out, kBmpHeaderBytes + imageBytes);
    Put32(out, 0);
    Put32(out, kBmpHeaderBytes);
    // BITMAPINFOHEADER
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);  // biClrUsed: the full table
    Put32(out, 0);
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        out.insert(out.end(), pixels.begin() + static_cast<std::ptrdiff_t>(row),
                   pixels.begin() + static_cast<std::ptrdiff_t>(row + width));
        out.insert(out.end(), stride - static_cast<std::uint32_t>(width), 0);
    }
    return out;
}

}  // namespace pictures
