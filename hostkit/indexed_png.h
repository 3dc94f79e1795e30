// The one writer of 8-bit indexed PNG pictures: a frame's palette indices and the palette in
// force, for the frame-save key, the offline renderer, the tools and the tests.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "hostkit/presented_frame.h"
#include "platform/ddraw.h"

namespace hostkit {

// The file's bytes: width x height indices (rows `pitch` bytes apart) with a 256-entry palette.
// `compressionLevel` is zlib's 0..9, or -1 for its default; at 0, and in a build without zlib,
// the rows are stored uncompressed (a valid PNG all the same). Empty for a size of 0 or less.
std::vector<std::uint8_t> EncodeIndexedPng(const BYTE* pixels, int pitch, int width, int height,
                                           const PALETTEENTRY* palette, int compressionLevel = -1);
std::vector<std::uint8_t> EncodeIndexedPng(const RenderedFrame& frame, int compressionLevel = -1);

// "tolvek-2026-12-09-021652.png" for that local time: the name every host saves a frame under.
std::string FrameFileName(std::time_t when);

}  // namespace hostkit
