// Palette indices that the show draws with directly; they mean the same in every palette.
#pragma once

#include <cstdint>

namespace pictures::show {

constexpr int kTransparent = 0;     // black: sprite colour key, figure act background
constexpr int kTreeLine = 17;       // every line of the fractal tree
constexpr int kParticleFirst = 50;  // four particle brightness steps, dim to bright
constexpr int kParticleCount = 4;
constexpr int kTraceFirst = 99;  // figure act trace, one per colour shift
constexpr int kTraceCount = 7;
constexpr int kTreeBackground = 125;  // tree phase clear colour
constexpr int kFigureFirst = 143;     // wireframe figures, shifted by up to 6
constexpr int kFigureCount = 10;
constexpr int kInterludeBackground = 255;  // pixel interlude clear colour

constexpr bool IsFixed(int index) {
    return index == kTransparent || index == kTreeLine ||
           (index >= kParticleFirst && index < kParticleFirst + kParticleCount) ||
           (index >= kTraceFirst && index < kTraceFirst + kTraceCount) ||
           index == kTreeBackground ||
           (index >= kFigureFirst && index < kFigureFirst + kFigureCount) ||
           index == kInterludeBackground;
}

}  // namespace pictures::show
