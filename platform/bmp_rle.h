// Expanding the run-length streams of RLE8 and RLE4 BMP pictures.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/bmp_decoder.h"

namespace platform {

// Expands `stream` into image.pixels (already width x height zeros, top row first); the stream
// starts at the bottom row. Pixels that would land outside the picture are dropped. Empty on
// success, otherwise why the stream is refused.
std::string DecodeRunLengths(std::span<const std::uint8_t> stream, bool fourBit, DecodedBmp& image);

}  // namespace platform
