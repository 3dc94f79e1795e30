// Palette indices to 32-bit pixels, shared by every back-end and by the benchmarks.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"

namespace platform::detail {

// One table lookup per pixel: 0xAARRGGBB from the table built by BuildLookup.
TOLVEK_PLATFORM_API void ConvertIndexedFrame(const BYTE* pixels, int pitch, int width, int height,
                                             const std::uint32_t* lookup, std::uint32_t* out,
                                             int outPitchPixels);
TOLVEK_PLATFORM_API void BuildLookup(const PALETTEENTRY* palette, std::uint32_t* lookup);

}  // namespace platform::detail
