// PNG chunks, filtered rows and their zlib stream.
#include "hostkit/indexed_png.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <string>

#ifdef TOLVEK_HAVE_ZLIB
#include <zlib.h>
#endif

namespace hostkit {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

// Length, type, data and the CRC of type and data.
void PutChunk(Bytes& out, const char type[5], const Bytes& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = typeAt; i < out.size(); ++i)
        crc = CrcTable()[(crc ^ out[i]) & 0xFF] ^ (crc >> 8);
    PutBigEndian(out, crc ^ 0xFFFFFFFFu);
}

// A zlib stream of stored blocks: no compression, nothing to link.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    constexpr std::size_t kBlock = 65535;
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(kBlock, raw.size() - at);
        const bool last = at + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n));
        out.push_back(static_cast<std::uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

Bytes Compress(const Bytes& raw, int level) {
    if (level == 0)
        return StoredZlib(raw);
#ifdef TOLVEK_HAVE_ZLIB
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  level < 0 ? Z_DEFAULT_COMPRESSION : level) != Z_OK)
        return {};
    out.resize(size);
    return out;
#else
    return StoredZlib(raw);
#endif
}

}  // namespace

Bytes EncodeIndexedPng(const BYTE* pixels, int pitch, int width, int height,
                       const PALETTEENTRY* palette, int compressionLevel) {
    if (pixels == nullptr || palette == nullptr || width <= 0 || height <= 0)
        return {};
    // Each row: filter type 0 (none), then its indices.
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const BYTE* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
        raw.insert(raw.end(), row, row + width);
    }
    Bytes header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    // 8 bits, colour type 3 (palette), deflate, adaptive filters, no interlace.
    header.insert(header.end(), {8, 3, 0, 0, 0});
    Bytes colours;
    for (int i = 0; i < 256; ++i)
        colours.insert(colours.end(), {palette[i].peRed, palette[i].peGreen, palette[i].peBlue});
    const Bytes compressed = Compress(raw, compressionLevel);
    if (compressed.empty())
        return {};

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.reserve(png.size() + compressed.size() + 1024);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", colours);
    PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", {});
    return png;
}

Bytes EncodeIndexedPng(const RenderedFrame& frame, int compressionLevel) {
    if (frame.pixels.size() != static_cast<std::size_t>(frame.width) * frame.height)
        return {};
    return EncodeIndexedPng(frame.pixels.data(), frame.width, frame.width, frame.height,
                            frame.palette.data(), compressionLevel);
}

std::string FrameFileName(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char name[64];
    std::strftime(name, sizeof name, "tolvek-%Y-%m-%d-%H%M%S.png", &local);
    return name;
}

}  // namespace hostkit
