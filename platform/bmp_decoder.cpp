// Decoding BMP bytes: header checks against the buffer, colour tables, uncompressed rows and
// bit-field pixels. The run-length streams are in bmp_rle.cpp.
#include "platform/bmp_decoder.h"

#include <bit>

#include "platform/bmp_rle.h"

namespace platform {
namespace {

[[maybe_unused]] constexpr std::uint32_t kRgb = 0;  // uncompressed rows: every other value
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeaderBytes = 14;

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::string CompressionName(std::uint32_t compression) {
    switch (compression) {
        case 4:
            return "JPEG";
        case 5:
            return "PNG";
        case 6:
            return "alpha bit fields";
        case 11:
            return "CMYK";
        case 12:
            return "CMYK RLE8";
        case 13:
            return "CMYK RLE4";
        default:
            return std::to_string(compression);
    }
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    std::uint8_t From(std::uint32_t pixel) const {
        if (bits == 0)
            return 0;
        const std::uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8)
            return static_cast<std::uint8_t>(value >> (bits - 8));
        const std::uint32_t top = (1u << bits) - 1;
        return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
    }
};

// Empty when the mask is usable: contiguous bits inside the pixel.
std::string MakeChannel(std::uint32_t mask, int bitCount, Channel& channel) {
    channel = Channel{};
    if (mask == 0)
        return {};
    if (bitCount < 32 && (mask >> bitCount) != 0) {
        return "colour mask " + std::to_string(mask) + " does not fit " + std::to_string(bitCount) +
               "-bit pixels";
    }
    const int shift = std::countr_zero(mask);
    const std::uint32_t shifted = mask >> shift;
    if ((shifted & (shifted + 1)) != 0) {
        return "colour mask " + std::to_string(mask) + " is not one run of bits";
    }
    channel = Channel{mask, shift, std::popcount(shifted)};
    return {};
}

struct Header {
    std::uint32_t offBits = 0;
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
};

std::string CheckShape(const Header& h) {
    if (h.width == 0)
        return "width is 0";
    if (h.width < 0)
        return "negative width " + std::to_string(h.width);
    if (h.height == 0)
        return "height is 0";
    if (h.height == INT32_MIN)
        return "height " + std::to_string(h.height) + " out of range";
    const std::int64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    const std::string shape = std::to_string(h.width) + "x" + std::to_string(rows);
    if (h.width > kMaxBmpSide || rows > kMaxBmpSide) {
        return "picture " + shape + " is over " + std::to_string(kMaxBmpSide) + " on a side";
    }
    if (static_cast<std::int64_t>(h.width) * rows > kMaxBmpPixels) {
        return "picture " + shape + " has over 64 Mi pixels";
    }
    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return "unsupported bit count " + std::to_string(h.bitCount);
    }
    const std::string bits = std::to_string(h.bitCount);
    if (h.compression == kRle8 && h.bitCount != 8)
        return "RLE8 with " + bits + " bits per pixel";
    if (h.compression == kRle4 && h.bitCount != 4)
        return "RLE4 with " + bits + " bits per pixel";
    if (h.compression == kBitFields && h.bitCount != 16 && h.bitCount != 32) {
        return "bit fields with " + bits + " bits per pixel";
    }
    if (h.compression > kBitFields) {
        return "unsupported compression " + CompressionName(h.compression);
    }
    if ((h.compression == kRle8 || h.compression == kRle4) && h.height < 0) {
        return "top-down picture with RLE compression";
    }
    return {};
}

void DecodeIndexedRows(std::span<const std::uint8_t> bytes, const Header& h, std::size_t rowBytes,
                       DecodedBmp& image) {
    const bool topDown = h.height < 0;
    for (int row = 0; row < image.height; ++row) {
        const std::uint8_t* src = bytes.data() + h.offBits + row * rowBytes;
        const int shown = topDown ? row : image.height - 1 - row;
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(shown) * image.width;
        for (int x = 0; x < image.width; ++x) {
            switch (h.bitCount) {
                case 8:
                    out[x] = src[x];
                    break;
                case 4:
                    out[x] = (x & 1) == 0 ? src[x >> 1] >> 4 : src[x >> 1] & 0x0F;
                    break;
                default:
                    out[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
                    break;
            }
        }
    }
}

void DecodeColourRows(std::span<const std::uint8_t> bytes, const Header& h, std::size_t rowBytes,
                      const Channel (&channels)[3], DecodedBmp& image) {
    const bool topDown = h.height < 0;
    for (int row = 0; row < image.height; ++row) {
        const std::size_t at = h.offBits + row * rowBytes;
        const int shown = topDown ? row : image.height - 1 - row;
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(shown) * image.width * 3;
        for (int x = 0; x < image.width; ++x, out += 3) {
            if (h.bitCount == 24) {
                const std::uint8_t* p = bytes.data() + at + x * 3;
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
                continue;
            }
            const std::uint32_t pixel =
                h.bitCount == 16 ? U16(bytes, at + x * 2) : U32(bytes, at + x * 4);
            out[0] = channels[0].From(pixel);
            out[1] = channels[1].From(pixel);
            out[2] = channels[2].From(pixel);
        }
    }
}

BmpDecodeResult Fail(std::string reason) {
    BmpDecodeResult result;
    result.error = std::move(reason);
    return result;
}

}  // namespace

BmpDecodeResult DecodeBmp(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    if (size < kFileHeaderBytes + 4) {
        return Fail("file of " + std::to_string(size) + " bytes is too short for a BMP header");
    }
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return Fail("not a BMP file (no BM signature)");
    Header h;
    h.offBits = U32(bytes, 10);
    h.size = U32(bytes, 14);
    if (h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124) {
        return Fail("unsupported information header size " + std::to_string(h.size));
    }
    const std::size_t headerEnd = kFileHeaderBytes + h.size;
    if (headerEnd > size)
        return Fail("information header cut short by the end of the file");
    h.width = static_cast<std::int32_t>(U32(bytes, 18));
    h.height = static_cast<std::int32_t>(U32(bytes, 22));
    h.bitCount = U16(bytes, 28);
    h.compression = U32(bytes, 30);
    h.sizeImage = U32(bytes, 34);
    h.clrUsed = U32(bytes, 46);
    if (std::string problem = CheckShape(h); !problem.empty())
        return Fail(problem);

    // Bit-field masks sit inside the longer headers, or right after a 40-byte one.
    std::size_t tableStart = headerEnd;
    std::uint32_t masks[3] = {0, 0, 0};
    if (h.compression == kBitFields) {
        std::size_t at = kFileHeaderBytes + 40;
        if (h.size == 40) {
            tableStart += 12;
            if (tableStart > size)
                return Fail("colour masks cut short by the end of the file");
        }
        for (auto& mask : masks) {
            mask = U32(bytes, at);
            at += 4;
        }
    } else if (h.bitCount == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (h.bitCount == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    Channel channels[3];
    for (int i = 0; i < 3; ++i) {
        if (std::string problem = MakeChannel(masks[i], h.bitCount, channels[i]);
            !problem.empty()) {
            return Fail(problem);
        }
    }

    DecodedBmp image;
    image.width = h.width;
    image.height = h.height < 0 ? -h.height : h.height;
    image.bitsPerPixel = h.bitCount;
    image.indexed = h.bitCount <= 8;
    std::size_t tableEnd = tableStart;
    if (image.indexed) {
        const std::uint32_t full = 1u << h.bitCount;
        const std::uint32_t count = h.clrUsed == 0 || h.clrUsed > full ? full : h.clrUsed;
        tableEnd = tableStart + static_cast<std::size_t>(count) * 4;
        if (tableEnd > size)
            return Fail("colour table cut short by the end of the file");
        image.colours.reserve(count);
        for (std::size_t at = tableStart; at < tableEnd; at += 4) {
            image.colours.push_back(BmpColour{bytes[at + 2], bytes[at + 1], bytes[at]});
        }
    }
    if (h.offBits < tableEnd) {
        return Fail("pixel data offset " + std::to_string(h.offBits) +
                    " lies inside the headers or colour table");
    }
    if (h.offBits > size) {
        return Fail("pixel data offset " + std::to_string(h.offBits) + " lies past the end (" +
                    std::to_string(size) + " bytes)");
    }

    const std::size_t pixelCount = static_cast<std::size_t>(image.width) * image.height;
    if (h.compression == kRle8 || h.compression == kRle4) {
        std::size_t end = size;
        if (h.sizeImage != 0) {
            if (h.sizeImage > size - h.offBits) {
                return Fail("compressed size " + std::to_string(h.sizeImage) +
                            " runs past the end of the file");
            }
            end = h.offBits + h.sizeImage;
        }
        image.pixels.assign(pixelCount, 0);
        std::string problem = DecodeRunLengths(bytes.subspan(h.offBits, end - h.offBits),
                                               h.compression == kRle4, image);
        if (!problem.empty())
            return Fail(problem);
        return BmpDecodeResult{std::move(image), {}};
    }

    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * h.bitCount + 31) / 32 * 4;
    const std::size_t need = rowBytes * image.height;
    if (need > size - h.offBits) {
        return Fail("pixel data cut short: " + std::to_string(need) + " bytes needed from offset " +
                    std::to_string(h.offBits) + ", file has " + std::to_string(size));
    }
    image.pixels.resize(image.indexed ? pixelCount : pixelCount * 3);
    if (image.indexed) {
        DecodeIndexedRows(bytes, h, rowBytes, image);
    } else {
        DecodeColourRows(bytes, h, rowBytes, channels, image);
    }
    return BmpDecodeResult{std::move(image), {}};
}

}  // namespace platform
