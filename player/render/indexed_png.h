// Writing 8-bit indexed PNG files: the frame's palette indices and the palette in force.
#pragma once

#include <string>

#include "platform/ddraw.h"

namespace player {

// Writes width x height indices (rows `pitch` bytes apart) with a 256-entry palette; returns an
// empty string on success, otherwise what went wrong. `compressionLevel` is zlib's 0..9, or -1
// for its default.
std::string WriteIndexedPng(const std::string& path, const BYTE* pixels, int pitch, int width,
                            int height, const PALETTEENTRY* palette, int compressionLevel = -1);

}  // namespace player
