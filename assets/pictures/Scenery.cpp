// Landscape pieces.
#include "assets/pictures/Scenery.h"

#include <algorithm>
#include <cmath>

#include "assets/pictures/Noise.h"

namespace pictures {

void DrawSky(Canvas& canvas, const Ramp& ramp, int horizon, float top, float bottom) {
    for (int y = 0; y < std::min(horizon, canvas.Height()); ++y) {
        const float t = static_cast<float>(y) / static_cast<float>(std::max(horizon - 1, 1));
        for (int x = 0; x < canvas.Width(); ++x) {
            const float n = (FractalNoise(x / 90.0f, y / 40.0f, 7, 3) - 0.5f) * 0.06f;
            canvas.Shade(x, y, ramp, top + (bottom - top) * t + n);
        }
    }
}

Shape CloudShape(Vec2 c, float w, unsigned seed) {
    Scatter s(seed);
    std::vector<Shape> puffs;
    const int n = 5;
    for (int i = 0; i < n; ++i) {
        const float t = (static_cast<float>(i) + 0.5f) / n - 0.5f;
        const float r = w * (0.16f + 0.1f * (1.0f - std::abs(t) * 2.0f)) * s.Uniform(0.85f, 1.15f);
        puffs.push_back(Circle({c.x + t * w * 0.8f, c.y - r * 0.55f + s.Uniform(-3, 3)}, r));
    }
    puffs.push_back(Ellipse({c.x, c.y}, w * 0.5f, w * 0.12f));
    // Flat underside.
    const Shape body = Union(puffs);
    const Shape below = Polygon({{c.x - w, c.y + w * 0.08f},
                                 {c.x + w, c.y + w * 0.08f},
                                 {c.x + w, c.y + w},
                                 {c.x - w, c.y + w}});
    return Subtract(body, below);
}

void DrawCloud(Canvas& canvas, const Shape& cloud, const Ramp& ramp) {
    Style s;
    s.bevel = 14.0f;
    s.ambient = 0.42f;
    s.diffuse = 0.62f;
    s.outline = 0.0f;
    FillShape(canvas, cloud, ramp, s);
}

void DrawHalo(Canvas& canvas, Vec2 c, float radius, const Ramp& ramp,
              const std::function<float(float, float)>& strength) {
    const int reach = static_cast<int>(radius) + 1;
    for (int y = static_cast<int>(c.y) - reach; y <= static_cast<int>(c.y) + reach; ++y) {
        for (int x = static_cast<int>(c.x) - reach; x <= static_cast<int>(c.x) + reach; ++x) {
            const float dx = x + 0.5f - c.x;
            const float dy = y + 0.5f - c.y;
            const float d = std::sqrt(dx * dx + dy * dy) / radius;
            if (d >= 1.0f || !canvas.Inside(x, y)) {
                continue;
            }
            const float g =
                std::clamp(strength(d, std::atan2(dy, dx) * 180.0f / 3.14159265f), 0.0f, 1.0f);
            // Weak halo covers few pixels, so it thins out into the sky behind it.
            if (g * 1.6f > BayerThreshold(x + 3, y + 5)) {
                canvas.Shade(x, y, ramp, g);
            }
        }
    }
}

void DrawSun(Canvas& canvas, Vec2 c, float radius, const Ramp& ramp, float rayPhase) {
    DrawHalo(canvas, c, radius * 2.8f, ramp, [&](float d, float a) {
        const float ray = 0.5f + 0.5f * std::cos((a + rayPhase) * 3.14159265f / 15.0f);
        const float fall = 1.0f - d;
        return fall * fall * (0.7f + 0.3f * ray) * 0.8f;
    });
    for (int y = static_cast<int>(c.y - radius) - 1; y <= static_cast<int>(c.y + radius) + 1; ++y) {
        for (int x = static_cast<int>(c.x - radius) - 1; x <= static_cast<int>(c.x + radius) + 1;
             ++x) {
            const float d = Length(Vec2{x + 0.5f, y + 0.5f} - c);
            if (d <= radius) {
                canvas.Shade(x, y, ramp, 0.75f + 0.25f * (1.0f - d / radius));
            }
        }
    }
}

Shape Hill(float base, float amplitude, float frequency, float phase, int width, int bottom) {
    auto top = [=](float x) {
        return base + amplitude * std::sin(x * frequency + phase) +
               amplitude * 0.35f * std::sin(x * frequency * 2.3f + phase * 1.7f);
    };
    return Ground(top, -2.0f, static_cast<float>(width) + 2.0f, static_cast<float>(bottom));
}

void FillMeadow(Canvas& canvas, const Shape& ground, const Ramp& ramp, float top, float bottom,
                unsigned seed) {
    Style s;
    s.outline = 0.0f;
    PaintShape(canvas, ground, s, [&](const Surfel& f) {
        const float depth = std::clamp((f.y - top) / std::max(bottom - top, 1.0f), 0.0f, 1.0f);
        const float clumps = FractalNoise(f.x / 26.0f, f.y / 9.0f, seed, 3);
        const float edge = std::clamp(f.depth / 6.0f, 0.0f, 1.0f);
        const float v = 0.78f - 0.38f * depth + (clumps - 0.5f) * 0.42f + (1.0f - edge) * 0.12f;
        canvas.Shade(f.x, f.y, ramp, v);
    });
}

Shape LeafBlade(Vec2 base, float degrees, float length, float width) {
    const Vec2 dir = Polar({0, 0}, degrees, 1.0f);
    const float half = length * 0.5f;
    const float w = width * 0.5f;
    const float radius = (half * half + w * w) / (2.0f * w);
    const Vec2 side{-dir.y * (radius - w), dir.x * (radius - w)};
    const Vec2 middle = base + dir * half;
    return Intersect(Circle(middle + side, radius), Circle(middle - side, radius));
}

void DrawLeafBlade(Canvas& c, Vec2 base, float degrees, float length, float width, const Ramp& ramp,
                   std::uint8_t outline, float brightness) {
    const Vec2 dir = Polar({0, 0}, degrees, 1.0f);
    Style st;
    st.bevel = width * 0.45f;
    st.outlineIndex = outline;
    PaintShape(c, LeafBlade(base, degrees, length, width), st, [&](const Surfel& f) {
        const Vec2 q = Vec2{f.x + 0.5f, f.y + 0.5f} - base;
        const float along = Dot(q, dir);
        const float across = q.x * -dir.y + q.y * dir.x;
        float v = f.light * brightness;
        if (std::abs(across) < 0.7f && along < length * 0.9f) {
            v += 0.22f;
        } else if (std::fmod(along - std::abs(across) * 0.8f + 100.0f, length * 0.16f) < 0.9f) {
            v -= 0.12f;
        }
        c.Shade(f.x, f.y, ramp, v);
    });
}

void DrawGrass(Canvas& canvas, const Ramp& ramp, int x0, int x1, int y0, int y1, int count,
               float sway, unsigned seed) {
    Scatter s(seed);
    for (int i = 0; i < count; ++i) {
        const float x = s.Uniform(static_cast<float>(x0), static_cast<float>(x1));
        const float y = s.Uniform(static_cast<float>(y0), static_cast<float>(y1));
        const float scale = 0.5f + 0.5f * (y - y0) / std::max(1.0f, static_cast<float>(y1 - y0));
        const float h = s.Uniform(10.0f, 26.0f) * scale;
        const float lean = s.Uniform(-5.0f, 5.0f) + sway;
        const float shade = s.Uniform(0.45f, 0.95f);
        const Vec2 base{x, y};
        const Vec2 tip{x + lean * scale, y - h};
        const Vec2 ctrl{x + lean * 0.2f, y - h * 0.6f};
        const Shape blade = Stroke(Bezier(base, ctrl, tip, 5), 1.6f * scale + 0.4f, 0.3f);
        Style st;
        st.outline = 0.0f;
        PaintShape(canvas, blade, st, [&](const Surfel& f) {
            const float along = std::clamp((y - f.y) / h, 0.0f, 1.0f);
            canvas.Shade(f.x, f.y, ramp, shade * (0.55f + 0.45f * along));
        });
    }
}

}  // namespace pictures
