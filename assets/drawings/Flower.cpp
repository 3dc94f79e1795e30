// Flower1.dxf: a daisy-like flower head with twelve petals on a curved stem with two veined
// leaves and a bud.
#include <cmath>
#include <vector>

#include "assets/drawings/Drawings.h"

namespace drawings {
namespace {

constexpr double kPi = 3.14159265358979323846;

Point Polar(Point centre, double radius, double degrees) {
    const double a = degrees * kPi / 180.0;
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

void Head(Drawing& d, Point centre) {
    d.SetLayer("PETALS");
    const int petals = 12;
    for (int i = 0; i < petals; ++i) {
        const double a = 90.0 + 360.0 * i / petals;
        // A petal: narrow at the disc, widest two thirds out, rounded with a small notch.
        d.Curve({Polar(centre, 44, a - 9), Polar(centre, 80, a - 9), Polar(centre, 112, a - 7),
                 Polar(centre, 126, a - 3), Polar(centre, 122, a), Polar(centre, 126, a + 3),
                 Polar(centre, 112, a + 7), Polar(centre, 80, a + 9), Polar(centre, 44, a + 9)});
        d.Line(Polar(centre, 56, a), Polar(centre, 96, a));
    }
    d.SetLayer("DISC");
    d.Ellipse(centre, 44, 44);
    d.Ellipse(centre, 30, 30);
    // Seeds spiralling in the disc.
    for (int i = 0; i < 13; ++i) {
        const double r = 5 + 20 * std::sqrt(i / 13.0);
        const Point seed = Polar(centre, r, i * 137.5);
        d.Ellipse(seed, 2.6, 2.6);
    }
}

void Leaf(Drawing& d, Point base, Point tip, double width, double bend) {
    d.SetLayer("LEAVES");
    const double dx = tip.x - base.x;
    const double dy = tip.y - base.y;
    const double length = std::hypot(dx, dy);
    const Point n{-dy / length, dx / length};
    auto at = [&](double t, double side) {
        const double w = width * std::sin(kPi * t) * (t < 0.5 ? 1.0 : 1.0 - 0.3 * (t - 0.5));
        const double curve = bend * std::sin(kPi * t);
        return Point{base.x + dx * t + n.x * (side * w + curve),
                     base.y + dy * t + n.y * (side * w + curve)};
    };
    std::vector<Point> upper, lower, rib;
    for (int i = 0; i <= 8; ++i) {
        upper.push_back(at(i / 8.0, 1.0));
        lower.push_back(at(i / 8.0, -1.0));
        rib.push_back(at(i / 8.0, 0.0));
    }
    d.Curve(upper);
    d.Curve(lower);
    d.Curve({rib.begin(), rib.end() - 1});
    // Side veins running out toward the tip.
    for (int i = 2; i <= 6; i += 2) {
        const double t = i / 8.0;
        d.Line(at(t, 0.0), at(t + 0.12, 0.75));
        d.Line(at(t, 0.0), at(t + 0.12, -0.75));
    }
}

}  // namespace

Drawing MakeFlower() {
    Drawing d;
    d.SetStep(7.0);
    const Point centre{0, 120};
    Head(d, centre);
    d.SetLayer("STEM");
    d.Curve({{-6, 76}, {-14, 0}, {-4, -100}, {10, -200}, {4, -300}});
    d.Curve({{6, 76}, {-2, 0}, {8, -100}, {22, -200}, {16, -300}});
    Leaf(d, {-2, -140}, {-140, -70}, 34, 16);
    Leaf(d, {14, -220}, {150, -150}, 30, -14);
    // A bud on a side stem, clear of the petals.
    d.SetLayer("BUD");
    d.Curve({{10, -60}, {70, -44}, {118, -10}, {140, 24}});
    d.Curve({{140, 24}, {124, 40}, {126, 70}, {142, 90}, {158, 70}, {158, 40}, {140, 24}});
    d.Curve({{134, 30}, {140, 56}, {142, 90}});
    d.Curve({{146, 30}, {152, 52}, {142, 90}});
    d.SetLayer("GROUND");
    d.Curve({{-150, -300}, {-60, -310}, {60, -306}, {150, -300}});
    d.FitInto({150, 20}, {490, 460});
    return d;
}

}  // namespace drawings
