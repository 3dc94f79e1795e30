// Expanding RLE8 and RLE4 streams: runs, literal runs, line ends, jumps and the end mark.
#include "platform/bmp_rle.h"

#include <algorithm>

namespace platform {

std::string DecodeRunLengths(std::span<const std::uint8_t> stream, bool fourBit,
                             DecodedBmp& image) {
    const std::int64_t width = image.width;
    const std::int64_t rows = image.height;
    std::int64_t x = 0;
    std::int64_t y = 0;  // counted from the bottom row
    std::size_t at = 0;
    // The column never runs past the width, so nothing below can overflow or write outside.
    auto put = [&](std::int64_t count, auto valueOf) {
        const std::int64_t n = std::min(count, width - x);
        if (y < rows) {
            std::uint8_t* row = image.pixels.data() + (rows - 1 - y) * width;
            for (std::int64_t i = 0; i < n; ++i)
                row[x + i] = valueOf(i);
        }
        x = std::min(x + count, width);
    };
    while (y < rows) {
        if (stream.size() - at < 2)
            return "compressed pixel data ends before its end mark";
        const std::uint8_t count = stream[at];
        const std::uint8_t value = stream[at + 1];
        at += 2;
        if (count > 0) {
            const std::uint8_t high = value >> 4;
            const std::uint8_t low = value & 0x0F;
            put(count, [&](std::int64_t i) -> std::uint8_t {
                return fourBit ? ((i & 1) == 0 ? high : low) : value;
            });
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return {};
        } else if (value == 2) {  // jump right and up
            if (stream.size() - at < 2)
                return "compressed pixel data ends inside a jump";
            x = std::min(x + stream[at], width);
            y += stream[at + 1];
            at += 2;
        } else {  // literal run, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            const std::size_t padded = bytes + (bytes & 1);
            if (stream.size() - at < padded) {
                return "compressed pixel data ends inside a literal run";
            }
            const std::uint8_t* literal = stream.data() + at;
            put(value, [&](std::int64_t i) -> std::uint8_t {
                if (!fourBit)
                    return literal[i];
                const std::uint8_t b = literal[i >> 1];
                return (i & 1) == 0 ? b >> 4 : b & 0x0F;
            });
            at += padded;
        }
    }
    return {};
}

}  // namespace platform
