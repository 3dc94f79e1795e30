// Distance functions of the primitive shapes and their combinations.
#include "assets/pictures/Shape.h"

#include <algorithm>
#include <cmath>

#include "assets/pictures/Noise.h"

namespace pictures {

namespace {

constexpr float kPi = 3.14159265358979f;

Bounds Grow(Bounds b, float by) {
    return {b.x0 - by, b.y0 - by, b.x1 + by, b.y1 + by};
}
Bounds Merge(Bounds a, Bounds b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}
Bounds Around(Vec2 a, Vec2 b, float r) {
    return {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
            std::max(a.y, b.y) + r};
}

}  // namespace

float Length(Vec2 v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

Vec2 Rotate(Vec2 v, float radians) {
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

Vec2 Lerp(Vec2 a, Vec2 b, float t) {
    return a + (b - a) * t;
}

Vec2 Polar(Vec2 origin, float degrees, float distance) {
    const float r = degrees * kPi / 180.0f;
    return {origin.x + std::cos(r) * distance, origin.y + std::sin(r) * distance};
}

Shape Circle(Vec2 c, float r) {
    return {[c, r](Vec2 p) { return Length(p - c) - r; }, Around(c, c, r + 1)};
}

Shape Ellipse(Vec2 c, float rx, float ry, float degrees) {
    const float a = -degrees * kPi / 180.0f;
    auto sdf = [c, rx, ry, a](Vec2 p) {
        const Vec2 q = Rotate(p - c, a);
        const float k0 = Length({q.x / rx, q.y / ry});
        const float k1 = Length({q.x / (rx * rx), q.y / (ry * ry)});
        if (k1 < 1e-6f) {
            return -std::min(rx, ry);
        }
        return k0 * (k0 - 1.0f) / k1;
    };
    const float r = std::max(rx, ry);
    return {sdf, Around(c, c, r + 1)};
}

Shape Capsule(Vec2 a, Vec2 b, float r) {
    return TaperedCapsule(a, b, r, r);
}

Shape TaperedCapsule(Vec2 a, Vec2 b, float ra, float rb) {
    auto sdf = [a, b, ra, rb](Vec2 p) {
        const Vec2 ab = b - a;
        const float len2 = std::max(Dot(ab, ab), 1e-6f);
        const float t = std::clamp(Dot(p - a, ab) / len2, 0.0f, 1.0f);
        return Length(p - (a + ab * t)) - (ra + (rb - ra) * t);
    };
    return {sdf, Around(a, b, std::max(ra, rb) + 1)};
}

Shape Polygon(std::vector<Vec2> v) {
    Bounds b{v[0].x, v[0].y, v[0].x, v[0].y};
    for (Vec2 p : v) {
        b = Merge(b, {p.x, p.y, p.x, p.y});
    }
    auto sdf = [v](Vec2 p) {
        float d = Dot(p - v[0], p - v[0]);
        float s = 1.0f;
        const std::size_t n = v.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i, ++i) {
            const Vec2 e = v[j] - v[i];
            const Vec2 w = p - v[i];
            const Vec2 q = w - e * std::clamp(Dot(w, e) / std::max(Dot(e, e), 1e-6f), 0.0f, 1.0f);
            d = std::min(d, Dot(q, q));
            const bool c1 = p.y >= v[i].y;
            const bool c2 = p.y < v[j].y;
            const bool c3 = e.x * w.y > e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) {
                s = -s;
            }
        }
        return s * std::sqrt(d);
    };
    return {sdf, Grow(b, 1)};
}

Shape Stroke(const std::vector<Vec2>& pts, float r0, float r1) {
    std::vector<Shape> parts;
    const std::size_t n = pts.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const float t0 = static_cast<float>(i) / static_cast<float>(n - 1);
        const float t1 = static_cast<float>(i + 1) / static_cast<float>(n - 1);
        parts.push_back(
            TaperedCapsule(pts[i], pts[i + 1], r0 + (r1 - r0) * t0, r0 + (r1 - r0) * t1));
    }
    return Union(parts);
}

Shape Ground(std::function<float(float)> top, float x0, float x1, float bottom) {
    float highest = bottom;
    for (float x = x0; x <= x1; x += 1.0f) {
        highest = std::min(highest, top(x));
    }
    auto sdf = [top, bottom](Vec2 p) { return std::max(top(p.x) - p.y, p.y - bottom); };
    return {sdf, {x0, highest - 1, x1, bottom}};
}

Shape Union(const Shape& a, const Shape& b) {
    return {[a, b](Vec2 p) { return std::min(a(p), b(p)); }, Merge(a.bounds, b.bounds)};
}

Shape Union(const std::vector<Shape>& shapes) {
    Bounds b = shapes.front().bounds;
    for (const Shape& s : shapes) {
        b = Merge(b, s.bounds);
    }
    auto sdf = [shapes](Vec2 p) {
        float d = 1e9f;
        for (const Shape& s : shapes) {
            const Bounds& sb = s.bounds;
            // Far outside a part's box its distance cannot win.
            const float out = std::max({sb.x0 - p.x, p.x - sb.x1, sb.y0 - p.y, p.y - sb.y1});
            if (out < d) {
                d = std::min(d, s(p));
            }
        }
        return d;
    };
    return {sdf, b};
}

Shape SmoothUnion(const Shape& a, const Shape& b, float k) {
    auto sdf = [a, b, k](Vec2 p) {
        const float da = a(p);
        const float db = b(p);
        const float h = std::clamp(0.5f + 0.5f * (db - da) / k, 0.0f, 1.0f);
        return db + (da - db) * h - k * h * (1.0f - h);
    };
    return {sdf, Grow(Merge(a.bounds, b.bounds), k)};
}

Shape Subtract(const Shape& a, const Shape& b) {
    return {[a, b](Vec2 p) { return std::max(a(p), -b(p)); }, a.bounds};
}

Shape Intersect(const Shape& a, const Shape& b) {
    const Bounds x{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
                   std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
    return {[a, b](Vec2 p) { return std::max(a(p), b(p)); }, x};
}

Shape Roughen(const Shape& s, float amplitude, float scale, unsigned seed) {
    auto sdf = [s, amplitude, scale, seed](Vec2 p) {
        return s(p) + amplitude * (2.0f * ValueNoise(p.x / scale, p.y / scale, seed) - 1.0f);
    };
    return {sdf, Grow(s.bounds, amplitude)};
}

Shape Inflate(const Shape& s, float by) {
    return {[s, by](Vec2 p) { return s(p) - by; }, Grow(s.bounds, std::max(by, 0.0f))};
}

std::vector<Vec2> Bezier(Vec2 a, Vec2 c, Vec2 b, int n) {
    std::vector<Vec2> pts;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n - 1);
        pts.push_back(Lerp(Lerp(a, c, t), Lerp(c, b, t), t));
    }
    return pts;
}

}  // namespace pictures
