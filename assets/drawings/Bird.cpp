// bird.dxf: a bird in flight seen from below, wings raised in a gull's bend, forked tail. It is
// mostly shown small (three copies at half size and up), so the shapes are bold.
#include <vector>

#include "assets/drawings/Drawings.h"

namespace drawings {
namespace {

// The right half; x grows outward from the body's middle line, y toward the head.
void HalfBird(Drawing& d, double side) {
    auto p = [side](double x, double y) { return Point{side * x, y}; };
    d.SetLayer("WING");
    // Leading edge rising to the wrist, then falling to the wing tip.
    d.Curve({p(16, 40), p(60, 74), p(118, 100), p(172, 84), p(232, 46), p(290, 14)});
    // Primaries as separate fingers.
    d.Curve({p(290, 14), p(296, 2), p(282, -4)});
    d.Curve({p(282, -4), p(284, -16), p(266, -18)});
    d.Curve({p(266, -18), p(266, -31), p(247, -30)});
    d.Curve({p(247, -30), p(244, -42), p(226, -38)});
    d.Polyline({p(282, -4), p(232, 4)});
    d.Polyline({p(266, -18), p(222, -6)});
    d.Polyline({p(247, -30), p(212, -16)});
    // Scalloped trailing edge of the inner wing.
    d.Curve({p(226, -38), p(204, -34), p(190, -28)});
    d.Curve({p(190, -28), p(172, -32), p(156, -24)});
    d.Curve({p(156, -24), p(138, -28), p(120, -20)});
    d.Curve({p(120, -20), p(100, -22), p(84, -14)});
    d.Curve({p(84, -14), p(60, -16), p(40, -6), p(18, -4)});
    // Covert line across the wing and the feather joins below it.
    d.Curve({p(26, 22), p(80, 44), p(130, 58), p(190, 38), p(226, 12)});
    // Where the trailing edge's scallops meet, up to the covert line.
    const double joins[][3] = {{84, -14, 44}, {120, -20, 56}, {156, -24, 52}, {190, -28, 37}};
    for (const auto& j : joins)
        d.Line(p(j[0], j[1]), p(j[0] - 4, j[2]));

    d.SetLayer("BODY");
    // Head, neck, body and tail base on this side.
    d.Curve({p(0, 108), p(12, 104), p(19, 90), p(16, 74), p(22, 56), p(30, 20), p(27, -20),
             p(16, -52), p(8, -66)});
    // Forked tail.
    d.Curve({p(8, -66), p(22, -100), p(40, -138), p(46, -150)});
    d.Curve({p(46, -150), p(30, -130), p(12, -110), p(0, -98)});
    d.Line(p(10, -70), p(30, -128));
    // Eye and the edge of the beak.
    d.Ellipse(p(8, 92), 3.5, 4.5);
}

}  // namespace

Drawing MakeBird() {
    Drawing d;
    d.SetStep(7.0);
    HalfBird(d, 1.0);
    HalfBird(d, -1.0);
    d.SetLayer("BEAK");
    d.Polyline({{-7, 104}, {0, 126}, {7, 104}});
    d.Line({-6, 107}, {6, 107});
    d.FitInto({150, 150}, {490, 380});
    return d;
}

}  // namespace drawings
