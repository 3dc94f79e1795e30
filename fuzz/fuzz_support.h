// What the fuzz targets share: a headless display made once, a scratch file for readers that
// only take file names, and quiet diagnostics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "graphics/screen.h"

namespace fuzzing {

// A 640x480x8 Screen on a headless show window, made on first use and kept for the whole run.
Screen& FuzzScreen();

// Writes the bytes to this process's scratch file and returns its path (the same every call).
const std::string& WriteScratchFile(const std::uint8_t* data, std::size_t size);

// Sends what the code under test prints on stderr to /dev/null, unless TOLVEK_FUZZ_VERBOSE is set.
// The sanitizers and libFuzzer write to the descriptor itself and stay heard.
void QuietDiagnostics();

// Stops the run as a crash, with the reason, when an invariant fails.
[[noreturn]] void Fail(const char* what);

}  // namespace fuzzing
