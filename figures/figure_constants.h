// Fixed numbers of the wireframe figures.
#pragma once

namespace figures {

// Every figure's y is mirrored about the screen height.
inline constexpr int kFlipHeight = 480;
// A figure keeps at most this many lines (the show's drawings have a few hundred); the rest of a
// bigger file is not read.
inline constexpr int kMaxFigureLines = 16384;
// A line with a coordinate that is not finite or lies beyond this is dropped on load.
inline constexpr float kMaxCoordinate = 1.0e6f;
// End points up to this many pixels around the surface go to DrawLine as computed; a line
// reaching farther is first clipped to that band, so its steps stay bounded.
inline constexpr int kDrawMargin = 4096;

}  // namespace figures
