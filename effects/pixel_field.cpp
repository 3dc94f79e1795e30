// The pixel field: its pattern, drawn once from the freshly seeded generator, and its frame.
#include "effects/pixel_field.h"

#include <cstdint>
#include <limits>

#include "effects/show_random.h"
#include "graphics/screen.h"

namespace {

// (r * extent) / 32767 in unsigned 32-bit arithmetic: r = 32767 lands exactly on the extent, one
// pixel outside the surface, and that point is then clipped away. Intended.
int Scale(int random, int extent) {
    return static_cast<int>(static_cast<std::uint32_t>(random) *
                            static_cast<std::uint32_t>(extent) / 32767u);
}

}  // namespace

PixelField::PixelField(Screen* owner) : screen(owner), drawCount(0) {
    ShowSrandFromClock();
    for (Point& point : points) {
        point.x = Scale(ShowRand(), screen->width);
        point.y = Scale(ShowRand(), screen->height);
    }
}

void PixelField::Draw() {
    Surface* target = screen->backBuffer;
    target->Lock();
    int k = drawCount;
    for (int j = 0; j < kPixelFieldPoints; ++j) {
        // The reset is tested before every point, so from the 10001st call on k starts at 0 and
        // the pattern stays unshifted for good. Intended.
        if (k > kPixelFieldPoints - 1)
            k = 0;
        target->PutPixel(points[j].x, points[k].y, j & 0xFF);
        ++k;
    }
    target->Unlock();
    // Held at the largest int instead of overflowing after years of frames; it draws the same.
    if (drawCount < std::numeric_limits<int>::max())
        ++drawCount;
}
