// Lit, outlined, dithered shape fills.
#include "assets/pictures/Paint.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

// Unit vector toward the light: left, up and in front of the picture.
constexpr float kLightX = -0.48f;
constexpr float kLightY = -0.58f;
constexpr float kLightZ = 0.66f;

float Light(const Shape& shape, Vec2 p, float d, const Style& style) {
    const float gx = shape({p.x + 0.5f, p.y}) - shape({p.x - 0.5f, p.y});
    const float gy = shape({p.x, p.y + 0.5f}) - shape({p.x, p.y - 0.5f});
    const float g = std::sqrt(gx * gx + gy * gy);
    // k: how much the surface leans sideways: fully at the edge, not at all past the bevel.
    const float k = 1.0f - std::clamp(-d / std::max(style.bevel, 0.5f), 0.0f, 1.0f);
    const float tilt = std::sqrt(std::max(0.0f, 1.0f - k * k));
    float nx = 0.0f;
    float ny = 0.0f;
    if (g > 1e-6f) {
        nx = gx / g * k;
        ny = gy / g * k;
    }
    const float lambert = std::max(0.0f, nx * kLightX + ny * kLightY + tilt * kLightZ);
    return std::clamp(style.ambient + style.diffuse * lambert, 0.0f, 1.0f);
}

}  // namespace

void PaintShape(Canvas& canvas, const Shape& shape, const Style& style,
                const std::function<void(const Surfel&)>& paint) {
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.x0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.y0)));
    const int x1 = std::min(canvas.Width() - 1, static_cast<int>(std::ceil(shape.bounds.x1)));
    const int y1 = std::min(canvas.Height() - 1, static_cast<int>(std::ceil(shape.bounds.y1)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float d = shape(p);
            if (d > 0.0f) {
                continue;
            }
            if (style.outline > 0.0f && d > -style.outline && style.outlineIndex >= 0) {
                canvas.Put(x, y, static_cast<std::uint8_t>(style.outlineIndex));
                continue;
            }
            const Shape& lit = style.lightShape != nullptr ? *style.lightShape : shape;
            const float ld = style.lightShape != nullptr ? std::min(lit(p), -0.01f) : d;
            paint({x, y, Light(lit, p, ld, style), -d});
        }
    }
}

void FillShape(Canvas& canvas, const Shape& shape, const Ramp& ramp, const Style& style, float gain,
               float offset) {
    Style s = style;
    if (s.outlineIndex < 0) {
        s.outlineIndex = ramp.Darkest();
    }
    PaintShape(canvas, shape, s,
               [&](const Surfel& f) { canvas.Shade(f.x, f.y, ramp, f.light * gain + offset); });
}

void FillFlat(Canvas& canvas, const Shape& shape, std::uint8_t index) {
    Style s;
    s.outline = 0.0f;
    PaintShape(canvas, shape, s, [&](const Surfel& f) { canvas.Put(f.x, f.y, index); });
}

void FillRows(Canvas& canvas, const Ramp& ramp, int y0, int y1, float v0, float v1) {
    for (int y = std::max(0, y0); y < std::min(y1, canvas.Height()); ++y) {
        const float t =
            y1 - 1 > y0 ? static_cast<float>(y - y0) / static_cast<float>(y1 - 1 - y0) : 0.0f;
        for (int x = 0; x < canvas.Width(); ++x) {
            canvas.Shade(x, y, ramp, v0 + (v1 - v0) * t);
        }
    }
}

}  // namespace pictures
