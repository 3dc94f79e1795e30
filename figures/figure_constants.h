// Fixed numbers of the wireframe figures.
#pragma once

#include <cstddef>

namespace figures {

// Every figure's y is mirrored about the screen height.
inline constexpr int kFlipHeight = 480;
// A figure keeps at most this many lines (the show's drawings have a few hundred); the rest of a
// bigger file is not read.
inline constexpr int kMaxFigureLines = 16384;
// Only this much of a drawing file is read (the show's drawings are under 100 kB), so a huge file
// cannot hold up the start.
inline constexpr std::size_t kMaxDrawingBytes = 64u << 20;
// A line with a coordinate that is not finite or lies beyond this is dropped on load.
inline constexpr float kMaxCoordinate = 1.0e6f;
// End points up to this many pixels around the surface go to DrawLine as computed; a line
// reaching farther is first clipped to that band, so its steps stay bounded.
inline constexpr int kDrawMargin = 4096;

}  // namespace figures
