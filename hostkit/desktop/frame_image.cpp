// Resolving indexed frames and writing BMP files.
#include "hostkit/desktop/frame_image.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "hostkit/desktop/little_endian.h"

namespace hostkit {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint32_t RowBytes(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

std::vector<std::uint8_t> Headers(int width, int height, int bitsPerPixel,
                                  std::uint32_t tableEntries) {
    const std::uint32_t offBits = kFileHeaderBytes + kInfoHeaderBytes + 4 * tableEntries;
    const std::uint32_t imageBytes =
        RowBytes(width, bitsPerPixel) * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(offBits + imageBytes);
    PutU16(out, 0x4D42);  // "BM"
    PutU32(out, offBits + imageBytes);
    PutU32(out, 0);
    PutU32(out, offBits);
    PutU32(out, kInfoHeaderBytes);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint16_t>(bitsPerPixel));
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageBytes);
    PutU32(out, 2835);  // 72 dots per inch
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    return out;
}

}  // namespace

RgbImage ResolveColours(const IndexedFrame& frame) {
    RgbImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.pixels.reserve(frame.indices.size());
    for (std::uint8_t index : frame.indices)
        image.pixels.push_back(frame.palette[index]);
    return image;
}

std::vector<std::uint8_t> EncodeIndexedBmp(const IndexedFrame& frame) {
    std::vector<std::uint8_t> out = Headers(frame.width, frame.height, 8, 256);
    for (const Rgb& c : frame.palette) {
        out.insert(out.end(), {c.blue, c.green, c.red, 0});
    }
    const std::uint32_t rowBytes = RowBytes(frame.width, 8);
    for (int y = frame.height - 1; y >= 0; --y) {
        const auto row = frame.indices.begin() + static_cast<std::ptrdiff_t>(y) * frame.width;
        out.insert(out.end(), row, row + frame.width);
        out.resize(out.size() + (rowBytes - static_cast<std::uint32_t>(frame.width)), 0);
    }
    return out;
}

std::vector<std::uint8_t> EncodeRgbBmp(const RgbImage& image) {
    std::vector<std::uint8_t> out = Headers(image.width, image.height, 24, 0);
    const std::uint32_t padding =
        RowBytes(image.width, 24) - 3 * static_cast<std::uint32_t>(image.width);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.At(x, y);
            out.insert(out.end(), {c.blue, c.green, c.red});
        }
        out.resize(out.size() + padding, 0);
    }
    return out;
}

std::string WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (!out)
        return path + ": cannot write: " + std::strerror(errno);
    return {};
}

}  // namespace hostkit
