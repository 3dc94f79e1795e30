// Curves, arcs and bounds of a Drawing.
#include "assets/drawings/Drawing.h"

#include <algorithm>
#include <cmath>

namespace drawings {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Distance(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Point Mix(Point a, Point b, double ta, double tb, double t) {
    if (tb == ta)
        return a;
    const double wa = (tb - t) / (tb - ta);
    const double wb = (t - ta) / (tb - ta);
    return {wa * a.x + wb * b.x, wa * a.y + wb * b.y};
}

// One span of a centripetal Catmull-Rom curve between p1 and p2 (Barry and Goldman's form).
Point CatmullRom(Point p0, Point p1, Point p2, Point p3, double u) {
    const double t0 = 0.0;
    const double t1 = t0 + std::sqrt(std::max(Distance(p0, p1), 1e-6));
    const double t2 = t1 + std::sqrt(std::max(Distance(p1, p2), 1e-6));
    const double t3 = t2 + std::sqrt(std::max(Distance(p2, p3), 1e-6));
    const double t = t1 + u * (t2 - t1);
    const Point a1 = Mix(p0, p1, t0, t1, t);
    const Point a2 = Mix(p1, p2, t1, t2, t);
    const Point a3 = Mix(p2, p3, t2, t3, t);
    const Point b1 = Mix(a1, a2, t0, t2, t);
    const Point b2 = Mix(a2, a3, t1, t3, t);
    return Mix(b1, b2, t1, t2, t);
}

}  // namespace

void Drawing::Add(Point a, Point b) {
    const Point pa = placement_.Apply(a);
    const Point pb = placement_.Apply(b);
    if (pa.x == pb.x && pa.y == pb.y)
        return;
    segments_.push_back({pa, pb, layer_});
}

void Drawing::Line(Point a, Point b) {
    Add(a, b);
}

void Drawing::Polyline(const std::vector<Point>& points, bool closed) {
    for (std::size_t i = 1; i < points.size(); ++i)
        Add(points[i - 1], points[i]);
    if (closed && points.size() > 2)
        Add(points.back(), points.front());
}

void Drawing::Curve(const std::vector<Point>& points, bool closed) {
    const std::size_t n = points.size();
    if (n < 3) {
        Polyline(points, closed);
        return;
    }
    auto at = [&](long i) {
        if (closed)
            return points[static_cast<std::size_t>((i % static_cast<long>(n) + n) % n)];
        // Open ends continue in a straight line, so the curve starts along its first chord.
        if (i < 0)
            return Point{2 * points[0].x - points[1].x, 2 * points[0].y - points[1].y};
        if (i >= static_cast<long>(n)) {
            return Point{2 * points[n - 1].x - points[n - 2].x,
                         2 * points[n - 1].y - points[n - 2].y};
        }
        return points[static_cast<std::size_t>(i)];
    };
    const long spans = static_cast<long>(closed ? n : n - 1);
    for (long i = 0; i < spans; ++i) {
        const Point p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        const int pieces = std::max(1, static_cast<int>(std::ceil(Distance(p1, p2) / step_)));
        Point previous = p1;
        for (int k = 1; k <= pieces; ++k) {
            const Point next = k == pieces ? p2 : CatmullRom(p0, p1, p2, p3, double(k) / pieces);
            Add(previous, next);
            previous = next;
        }
    }
}

void Drawing::Ellipse(Point centre, double radiusX, double radiusY) {
    Arc(centre, radiusX, radiusY, 0.0, 360.0);
}

void Drawing::Arc(Point centre, double radiusX, double radiusY, double fromDegrees,
                  double toDegrees) {
    const double sweep = (toDegrees - fromDegrees) * kPi / 180.0;
    const double length = std::fabs(sweep) * std::max(radiusX, radiusY);
    const int pieces = std::max(3, static_cast<int>(std::ceil(length / step_)));
    Point previous{};
    for (int k = 0; k <= pieces; ++k) {
        const double angle = fromDegrees * kPi / 180.0 + sweep * k / pieces;
        const Point p{centre.x + radiusX * std::cos(angle), centre.y + radiusY * std::sin(angle)};
        if (k > 0)
            Add(previous, p);
        previous = p;
    }
}

void Drawing::FitInto(Point low, Point high) {
    if (segments_.empty())
        return;
    const Point from = Min();
    const Point to = Max();
    const double scale = std::min((high.x - low.x) / std::max(to.x - from.x, 1e-9),
                                  (high.y - low.y) / std::max(to.y - from.y, 1e-9));
    const double offsetX = (low.x + high.x) / 2 - scale * (from.x + to.x) / 2;
    const double offsetY = (low.y + high.y) / 2 - scale * (from.y + to.y) / 2;
    for (Segment& s : segments_) {
        s.a = {offsetX + scale * s.a.x, offsetY + scale * s.a.y};
        s.b = {offsetX + scale * s.b.x, offsetY + scale * s.b.y};
    }
}

Point Drawing::Min() const {
    Point low{1e300, 1e300};
    for (const Segment& s : segments_) {
        low.x = std::min({low.x, s.a.x, s.b.x});
        low.y = std::min({low.y, s.a.y, s.b.y});
    }
    return low;
}

Point Drawing::Max() const {
    Point high{-1e300, -1e300};
    for (const Segment& s : segments_) {
        high.x = std::max({high.x, s.a.x, s.b.x});
        high.y = std::max({high.y, s.a.y, s.b.y});
    }
    return high;
}

}  // namespace drawings
