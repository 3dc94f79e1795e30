// BMP reading for the tests.
#include "BmpFile.h"

#include <fstream>
#include <iterator>

namespace pictures::testing {

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

std::optional<BmpFile> ParseBmp(const std::vector<std::uint8_t>& b) {
    if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') {
        return std::nullopt;
    }
    BmpFile f;
    f.fileSize = U32(b, 2);
    f.pixelOffset = U32(b, 10);
    f.headerSize = U32(b, 14);
    f.width = static_cast<std::int32_t>(U32(b, 18));
    f.height = static_cast<std::int32_t>(U32(b, 22));
    f.planes = U16(b, 26);
    f.bitCount = U16(b, 28);
    f.compression = U32(b, 30);
    f.colourCount = U32(b, 46);
    if (f.headerSize != 40 || f.bitCount != 8 || f.compression != 0 || f.width <= 0 ||
        f.height <= 0 || f.width > 16384 || f.height > 16384) {
        return std::nullopt;
    }
    for (int i = 0; i < 256; ++i) {
        const std::size_t at = 54 + static_cast<std::size_t>(i) * 4;
        f.palette[i] = {b[at + 2], b[at + 1], b[at]};
        f.reserved.push_back(b[at + 3]);
    }
    const std::size_t stride = (static_cast<std::size_t>(f.width) + 3) & ~std::size_t{3};
    if (f.pixelOffset + stride * f.height > b.size()) {
        return std::nullopt;
    }
    f.pixels.resize(static_cast<std::size_t>(f.width) * f.height);
    for (int row = 0; row < f.height; ++row) {
        // Bottom-up: the first stored row is the bottom one.
        const std::size_t src = f.pixelOffset + stride * row;
        const std::size_t dst = static_cast<std::size_t>(f.height - 1 - row) * f.width;
        std::copy(b.begin() + static_cast<std::ptrdiff_t>(src),
                  b.begin() + static_cast<std::ptrdiff_t>(src + f.width),
                  f.pixels.begin() + static_cast<std::ptrdiff_t>(dst));
        f.padding.insert(f.padding.end(), b.begin() + static_cast<std::ptrdiff_t>(src + f.width),
                         b.begin() + static_cast<std::ptrdiff_t>(src + stride));
    }
    return f;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace pictures::testing
