// Known pictures and helpers shared by the picture tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/screen.h"
#include "tests/support/bmp_writer.h"

namespace picture_tests {

using testing_support::Rgb;

// n colours whose red and blue never agree, so a swapped pair cannot pass.
inline std::vector<Rgb> DistinctColours(int n) {
    std::vector<Rgb> colours;
    for (int i = 0; i < n; ++i) {
        colours.push_back(Rgb{static_cast<std::uint8_t>(i * 3 + 5),
                              static_cast<std::uint8_t>(i * 5 + 100),
                              static_cast<std::uint8_t>(i * 11 + 200)});
    }
    return colours;
}

// Indices 0..n-1 in a pattern that differs on every row and column, top row first.
inline std::vector<std::uint8_t> KnownIndices(int width, int height, int n) {
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            indices.push_back(static_cast<std::uint8_t>((x * 37 + y * 11) % n));
    }
    return indices;
}

// A true-colour picture whose channels never agree, top row first.
inline std::vector<Rgb> KnownColours(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(Rgb{static_cast<std::uint8_t>(10 + 20 * x),
                                 static_cast<std::uint8_t>(30 + 40 * y),
                                 static_cast<std::uint8_t>(5 + 7 * x + 13 * y)});
        }
    }
    return pixels;
}

// The 256 entries of the palette the Screen holds.
inline std::array<PALETTEENTRY, 256> PaletteOf(Screen& screen) {
    std::array<PALETTEENTRY, 256> entries{};
    if (screen.palette != nullptr)
        screen.palette->GetEntries(0, 0, 256, entries.data());
    return entries;
}

inline std::array<PALETTEENTRY, 256> EntriesOf(IDirectDrawPalette* palette) {
    std::array<PALETTEENTRY, 256> entries{};
    if (palette != nullptr)
        palette->GetEntries(0, 0, 256, entries.data());
    return entries;
}

// What `action` wrote to the error output.
inline std::string StderrOf(const std::function<void()>& action) {
    ::testing::internal::CaptureStderr();
    action();
    return ::testing::internal::GetCapturedStderr();
}

inline int CountLines(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines;
}

}  // namespace picture_tests
