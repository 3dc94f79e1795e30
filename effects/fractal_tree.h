// FractalTree: a recursively branching tree in one colour, in 16 compass directions, with a leaf
// picture at the middle and the tip of every last segment.
#pragma once

#include <array>
#include <memory>

#include "effects/effect_constants.h"

class AnimatedSprite;
class Screen;

// What a tree drew, counted as it drew it; the tree only adds to it and never reads it back.
struct FractalTreeTally {
    int segments = 0;     // FractalTree::DrawThickSegment calls, whatever their thickness
    int leafCopies = 0;   // leaf copies asked of the display
    int leavesShown = 0;  // of those, the ones the display accepted
};

class FractalTree {
  public:
    // leafFileName may be null: the tree then draws lines only. A leaf file also becomes the
    // display palette.
    FractalTree(Screen* screen, const char* leafFileName, int colour);
    ~FractalTree();
    FractalTree(const FractalTree&) = delete;
    FractalTree& operator=(const FractalTree&) = delete;

    // The part of the tree that starts at (x, y): depth segments of its own line, unit pixels
    // per depth step, each segment spawning a shallower child. Depth 0 or less draws nothing.
    void DrawBranch(int x, int y, int depth, int direction, int unit);
    // One segment as max(thickness - 1, 0) parallel lines inside one lock of the back buffer.
    void DrawThickSegment(int x1, int y1, int x2, int y2, int thickness, int direction);

    std::array<double, kTreeDirections> sinTable{};
    std::array<double, kTreeDirections> cosTable{};
    std::unique_ptr<AnimatedSprite> leaf;
    int spread = 2;    // direction steps between a segment and its turned child
    int straight = 1;  // non-zero: every segment also spawns a child in its own direction
    int colour = 0;
    Screen* screen = nullptr;  // not owned
    // Counts what is drawn when set; for tests and tools.
    FractalTreeTally* tally = nullptr;
};
