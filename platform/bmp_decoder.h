// The BMP picture decoder as a function over bytes: portable, bounded and safe on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#if defined(_WIN32)
#define TOLVEK_BMP_API
#else
#define TOLVEK_BMP_API __attribute__((visibility("default")))
#endif

namespace platform {

// Pictures beyond these limits are refused before anything is allocated for them.
inline constexpr int kMaxBmpSide = 16384;
inline constexpr std::int64_t kMaxBmpPixels = 64LL * 1024 * 1024;
// The largest file worth reading: the largest picture at 32 bits plus every header and table.
inline constexpr std::int64_t kMaxBmpFileBytes = kMaxBmpPixels * 4 + 64 * 1024;

struct BmpColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const BmpColour&) const = default;
};

struct DecodedBmp {
    int width = 0;
    int height = 0;                  // always positive: rows are in display order, top row first
    int bitsPerPixel = 0;            // as stored in the file
    bool indexed = false;            // true up to 8 bits per pixel: one colour-table index per byte
    std::vector<BmpColour> colours;  // the colour table, indexed pictures only
    // width bytes per row when indexed, otherwise width red-green-blue triples per row.
    std::vector<std::uint8_t> pixels;
};

struct BmpDecodeResult {
    DecodedBmp image;
    std::string error;  // empty on success, otherwise why the bytes are not a picture we take
    bool ok() const { return error.empty(); }
};

// Accepts uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit pictures, bit-field masks at 16 and 32
// bits, RLE8 and RLE4, with 40-, 52-, 56-, 108- and 124-byte information headers, stored
// bottom-up or (uncompressed only) top-down.
TOLVEK_BMP_API BmpDecodeResult DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace platform
