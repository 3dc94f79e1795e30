// Shapes as signed distance functions (negative inside), with the bounds to scan when painting.
#pragma once

#include <functional>
#include <vector>

namespace pictures {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
inline float Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
float Length(Vec2 v);
Vec2 Rotate(Vec2 v, float radians);
Vec2 Lerp(Vec2 a, Vec2 b, float t);
// Point at angle degrees (0 = right, 90 = down) and distance from origin.
Vec2 Polar(Vec2 origin, float degrees, float distance);

struct Bounds {
    float x0, y0, x1, y1;
};

struct Shape {
    std::function<float(Vec2)> sdf;
    Bounds bounds;
    float operator()(Vec2 p) const { return sdf(p); }
};

Shape Circle(Vec2 centre, float radius);
Shape Ellipse(Vec2 centre, float rx, float ry, float degrees = 0.0f);
Shape Capsule(Vec2 a, Vec2 b, float radius);
Shape TaperedCapsule(Vec2 a, Vec2 b, float ra, float rb);
Shape Polygon(std::vector<Vec2> points);
// A chain of tapered capsules through the points, radius going linearly from r0 to r1.
Shape Stroke(const std::vector<Vec2>& points, float r0, float r1);
// Everything below the curve y = top(x) for x in [x0, x1], down to bottom.
Shape Ground(std::function<float(float)> top, float x0, float x1, float bottom);

Shape Union(const Shape& a, const Shape& b);
Shape Union(const std::vector<Shape>& shapes);
Shape SmoothUnion(const Shape& a, const Shape& b, float k);
Shape Subtract(const Shape& a, const Shape& b);
Shape Intersect(const Shape& a, const Shape& b);
// Moves the outline in and out by up to amplitude pixels, for fur, fluff and ragged leaves.
Shape Roughen(const Shape& s, float amplitude, float scale, unsigned seed);
Shape Inflate(const Shape& s, float by);

// Quadratic Bezier from a through control c to b, sampled into n points.
std::vector<Vec2> Bezier(Vec2 a, Vec2 c, Vec2 b, int n);

}  // namespace pictures
