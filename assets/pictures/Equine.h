// A horse-shaped animal (horse or zebra) drawn on the quadruped pose, with a long head,
// pointed ears, a mane and a tail; the species supplies the coat.
#pragma once

#include <functional>

#include "assets/pictures/Quadruped.h"

namespace pictures {

enum class CoatRegion { Body, Neck, Head, Leg };

// local: for Body the picture position; for Neck and Head the position along the part
// (pixels from its top) and across it; for Leg the LegCoordinates.
using CoatPainter = std::function<void(const Surfel&, CoatRegion region, Vec2 local, bool far)>;

struct EquineLook {
    CoatPainter coat;
    const Ramp* mane;  // mane and tail hair
    const Ramp* hoof;
    const Ramp* muzzle;  // nose and lips
    std::uint8_t ink;    // outlines
    std::uint8_t eyeGlint;
    bool uprightMane;  // a zebra's short brush rather than a horse's flowing hair
    bool tuftedTail;   // a thin tail ending in a tuft
    float headLength;
    float wind;  // how far hair streams back, for galloping
};

void DrawEquine(Canvas& canvas, const QuadrupedBuild& build, float stride, const EquineLook& look);

}  // namespace pictures
