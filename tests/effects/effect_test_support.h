// Helpers shared by the effect tests: sounds for the host record and reading drawn pixels back.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "graphics/screen.h"
#include "host/winamp_vis.h"
#include "tests/support/headless_display.h"

namespace effects_testing {

using Points = std::set<std::pair<int, int>>;

// A host record with every sample byte set to `sample` (0x00 is silence) and nCh channels.
inline std::unique_ptr<winampVisModule> SilentModule(int channels = 2, unsigned char sample = 0) {
    auto module = std::make_unique<winampVisModule>();
    module->nCh = channels;
    for (auto& channel : module->waveformData) {
        for (auto& byte : channel)
            byte = sample;
    }
    return module;
}

// The byte whose drawing value (byte XOR 0x80) is `value`.
inline unsigned char ByteForValue(int value) {
    return static_cast<unsigned char>(value ^ 0x80);
}

// Every pixel of the back buffer holding `colour`.
inline Points PixelsOfColour(Screen& screen, int colour) {
    Points points;
    const auto pixels = testing_support::ReadPixels(*screen.backBuffer);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (pixels[static_cast<std::size_t>(y) * screen.width + x] == colour) {
                points.insert({x, y});
            }
        }
    }
    return points;
}

// Every pixel that differs from the background the screen was cleared to.
inline Points DrawnPixels(Screen& screen, int background) {
    Points points;
    const auto pixels = testing_support::ReadPixels(*screen.backBuffer);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (pixels[static_cast<std::size_t>(y) * screen.width + x] != background) {
                points.insert({x, y});
            }
        }
    }
    return points;
}

// The columns drawn on one row, left to right.
inline std::vector<int> ColumnsOnRow(const Points& points, int row) {
    std::vector<int> columns;
    for (const auto& [x, y] : points) {
        if (y == row)
            columns.push_back(x);
    }
    return columns;
}

// The whole back buffer after clearing it to `background` and running `draw`.
inline std::vector<unsigned char> FrameOf(Screen& screen, int background,
                                          const std::function<void()>& draw) {
    screen.Clear(background);
    draw();
    return testing_support::ReadPixels(*screen.backBuffer);
}

}  // namespace effects_testing
