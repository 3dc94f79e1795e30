// The fractal tree: its double tables, the recursive branch walk and the thick segment.
#include "effects/fractal_tree.h"

#include <cmath>

#include "effects/animated_sprite.h"
#include "graphics/screen.h"
#include "graphics/tile_sheet.h"

namespace {

// Truncation toward zero, never rounding.
int Truncate(double value) {
    return static_cast<int>(value);
}

// A negative direction -k becomes k mod 16, not 16 - k: -1 turns into 1, not 15. Intended.
int NormaliseDirection(int d) {
    if (d < 0)
        d = kTreeDirections - d % kTreeDirections;
    if (d >= kTreeDirections)
        d %= kTreeDirections;
    return d;
}

}  // namespace

FractalTree::FractalTree(Screen* owner, const char* leafFileName, int lineColour)
    : colour(lineColour) {
    for (int i = 0; i < kTreeDirections; ++i) {
        const double angle = (i * 22.5) * kShowDegree;
        sinTable[i] = std::sin(angle);
        cosTable[i] = std::cos(angle);
    }
    if (leafFileName != nullptr) {
        leaf =
            std::make_unique<AnimatedSprite>(owner, leafFileName, kLeafTileSize, kLeafTileSize, 1);
        if (leaf->tileSheet != nullptr)
            leaf->tileSheet->SetColorKey(0);
    }
    screen = owner;
}

FractalTree::~FractalTree() = default;

void FractalTree::DrawBranch(int x, int y, int depth, int direction, int unit) {
    // Counting down from a negative depth would never reach 0; such a branch draws nothing.
    int n = depth;
    int d = direction;
    while (n > 0) {
        d = NormaliseDirection(d);
        const int length = unit * n;
        const double dx = length * sinTable[d];
        const double dy = length * cosTable[d];
        // The tiny table entries are kept: a segment pointing left ends one pixel up. Intended.
        const int nx = Truncate(x + dx);
        const int ny = Truncate(y + dy);
        const int mx = Truncate(x + 0.5 * dx);
        const int my = Truncate(y + 0.5 * dy);
        DrawThickSegment(x, y, nx, ny, (unit * n * n) >> 5, d);
        if (n == 1 && leaf != nullptr) {
            // Leaves go on outside the segment's lock; the square's corner is 8 pixels up and
            // left of the point, not centred on it. Intended.
            const int points[2][2] = {{mx, my}, {nx, ny}};
            for (const auto& point : points) {
                leaf->x = point[0] - kLeafOffset;
                leaf->y = point[1] - kLeafOffset;
                const HRESULT result = leaf->DrawKeyed(screen->backBuffer);
                if (tally != nullptr) {
                    ++tally->leafCopies;
                    if (result == DD_OK)
                        ++tally->leavesShown;
                }
            }
        }
        --n;
        DrawBranch(nx, ny, n, d + spread, unit);
        if (straight != 0)
            DrawBranch(nx, ny, n, d, unit);
        d -= spread;
        x = nx;
        y = ny;
    }
}

void FractalTree::DrawThickSegment(int x1, int y1, int x2, int y2, int thickness, int d) {
    if (tally != nullptr)
        ++tally->segments;
    const int half = thickness >> 1;
    // A quarter turn either way from the segment's direction.
    int p = d + 4;
    if (p >= kTreeDirections)
        p %= kTreeDirections;
    const int q = (d + 12) % kTreeDirections;

    Surface* target = screen->backBuffer;
    target->Lock();
    // Lines 0..half-1 on the p side (line 0 is the centre) and 1..thickness-half-1 on the q side:
    // thickness e gives e - 1 lines, so 0 and 1 draw nothing and 2 only the centre. Intended.
    for (int i = 0; i < half; ++i) {
        target->DrawLine(Truncate(x1 + i * sinTable[p]), Truncate(y1 + i * cosTable[p]),
                         Truncate(x2 + i * sinTable[p]), Truncate(y2 + i * cosTable[p]), colour);
    }
    for (int i = 1; i < thickness - half; ++i) {
        target->DrawLine(Truncate(x1 + i * sinTable[q]), Truncate(y1 + i * cosTable[q]),
                         Truncate(x2 + i * sinTable[q]), Truncate(y2 + i * cosTable[q]), colour);
    }
    target->Unlock();
}
