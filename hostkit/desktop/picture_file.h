// Writing a picture's bytes to a file so that no half-written file is ever left under its name:
// a temporary file in the same folder, renamed into place once it was written and closed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ddraw.h"

namespace hostkit {

enum class ExistingFile {
    Replace,        // a file of that name is replaced (a frame sequence written again)
    KeepAndNumber,  // never overwritten: "name-2.png", "name-3.png", ... instead
};

// Returns the path written; on failure an empty string, `error` naming the file and the
// problem, and nothing left behind.
std::string WriteFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                            ExistingFile existing, std::string* error);

// An indexed PNG of the pixels (see EncodeIndexedPng) written that way, replacing a file of that
// name. Returns an empty string, or the line naming the file and the problem.
std::string WriteIndexedPngFile(const std::string& path, const BYTE* pixels, int pitch, int width,
                                int height, const PALETTEENTRY* palette, int compressionLevel = -1);

}  // namespace hostkit
