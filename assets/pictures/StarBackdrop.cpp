// Backdrop of the third scene: a great golden star shining over a sleeping village, with a
// crescent moon and twinkling stars. The two frames turn the star's rays and swap twinkles.
#include <algorithm>
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

struct StarInks {
    Ramp night, glow, star, moon, hills, houses, window, twinkle;
};

StarInks AddStarInks(PaletteBuilder& b) {
    const Block s = Block::Scene;
    StarInks k;
    k.night = b.Add(s, Gradient({{4, 6, 24}, {14, 20, 60}, {36, 40, 104}, {78, 62, 136}}, 20));
    k.glow =
        b.Add(s, Gradient({{52, 48, 112}, {110, 86, 130}, {196, 150, 110}, {250, 214, 130}}, 14));
    k.star = b.Add(
        s,
        Gradient({{110, 56, 6}, {200, 120, 12}, {250, 196, 40}, {255, 240, 150}, {255, 254, 230}},
                 18));
    k.moon = b.Add(s, Gradient({{120, 124, 150}, {210, 214, 226}, {252, 250, 236}}, 10));
    k.hills = b.Add(s, Gradient({{4, 10, 14}, {14, 28, 36}, {30, 52, 64}}, 8));
    k.houses = b.Add(s, Gradient({{16, 16, 30}, {44, 40, 66}, {80, 70, 100}}, 8));
    k.window = b.Add(s, Gradient({{200, 120, 30}, {255, 200, 80}, {255, 240, 170}}, 6));
    k.twinkle = b.Add(s, Gradient({{90, 100, 160}, {180, 190, 240}, {255, 255, 255}}, 8));
    b.FillRest(s, {{30, 20, 60}, {120, 60, 120}, {240, 160, 200}});
    return k;
}

constexpr float kPi = 3.14159265f;

// A five-pointed star bevelled into facets: each point has a lit and a shaded half.
void DrawBigStar(Canvas& c, const StarInks& k, const CommonInks& common, Vec2 at, float outer) {
    const float inner = outer * 0.45f;
    std::vector<Vec2> rim;
    for (int i = 0; i < 10; ++i) {
        rim.push_back(Polar(at, -90.0f + i * 36.0f, i % 2 == 0 ? outer : inner));
    }
    const Vec2 light{-0.55f, -0.83f};
    Style st;
    st.bevel = 1.0f;
    st.outlineIndex = k.star.Darkest();
    st.outline = 2.0f;
    PaintShape(c, Polygon(rim), st, [&](const Surfel& f) {
        const Vec2 p = Vec2{f.x + 0.5f, f.y + 0.5f} - at;
        // The nearest point's ridge splits the facet pair; each half faces away from it.
        const float fromUp = std::fmod(std::atan2(p.y, p.x) * 180.0f / kPi + 450.0f, 360.0f);
        const Vec2 ridge = Polar({0, 0}, std::round(fromUp / 72.0f) * 72.0f - 90.0f, 1.0f);
        const float side = ridge.x * p.y - ridge.y * p.x >= 0.0f ? 1.0f : -1.0f;
        const Vec2 normal{-ridge.y * side, ridge.x * side};
        const float facing = 0.5f + 0.5f * Dot(normal, light);
        const float centre = 1.0f - std::min(Length(p) / outer, 1.0f);
        c.Shade(f.x, f.y, k.star, 0.25f + facing * 0.55f + centre * 0.3f);
    });
    FillFlat(c, Circle(at + Vec2{-outer * 0.12f, -outer * 0.2f}, outer * 0.06f),
             common.neutral.Brightest());
}

void DrawGlow(Canvas& c, const StarInks& k, Vec2 at, float radius, float turn, float pulse) {
    DrawHalo(c, at, radius * 3.2f, k.glow, [&](float d, float a) {
        const float rays = std::pow(std::abs(std::cos((a - turn) * kPi / 180.0f * 4.0f)), 16.0f);
        const float fall = 1.0f - d;
        return fall * fall * (0.8f + 0.2f * pulse) + rays * fall * 0.5f;
    });
}

void DrawSparkle(Canvas& c, const StarInks& k, Vec2 at, float size) {
    Style st;
    st.outline = 0.0f;
    st.bevel = 1.0f;
    FillShape(c,
              Union(Ellipse(at, size, size * 0.18f + 0.4f), Ellipse(at, size * 0.18f + 0.4f, size)),
              k.twinkle, st, 0.2f, 0.75f);
    FillFlat(c, Circle(at, size * 0.22f + 0.5f), k.twinkle.Brightest());
}

void DrawVillage(Canvas& c, const StarInks& k) {
    Style flat;
    flat.outline = 0.0f;
    flat.bevel = 20.0f;
    FillShape(c, Hill(380, 18, 0.012f, 1.3f, 640, 480), k.hills, flat, 0.5f, 0.15f);
    Scatter s(23);
    Style house;
    house.bevel = 2.0f;
    house.outlineIndex = k.hills.Darkest();
    for (int i = 0; i < 9; ++i) {
        const float x = 30.0f + i * 70.0f + s.Uniform(-10, 10);
        const float w = s.Uniform(34, 50);
        const float h = s.Uniform(30, 46);
        const float base = 440.0f + s.Uniform(-8, 8);
        const Shape body = Polygon({{x, base}, {x + w, base}, {x + w, base - h}, {x, base - h}});
        const Shape roof = Polygon(
            {{x - 5, base - h}, {x + w + 5, base - h}, {x + w * 0.5f, base - h - w * 0.55f}});
        FillShape(c, Union(body, roof), k.houses, house, 0.6f, 0.05f);
        const int lit = static_cast<int>(s.Next() % 3);
        for (int wdw = 0; wdw < 2; ++wdw) {
            if (wdw == lit) {
                continue;
            }
            const float wx = x + w * (0.22f + 0.4f * wdw);
            const Shape pane = Polygon({{wx, base - h * 0.7f},
                                        {wx + 9, base - h * 0.7f},
                                        {wx + 9, base - h * 0.35f},
                                        {wx, base - h * 0.35f}});
            FillShape(c, pane, k.window, house, 0.4f, 0.5f);
        }
    }
    FillShape(c, Hill(452, 10, 0.02f, 0.2f, 640, 480), k.hills, flat, 0.3f, 0.05f);
    // Pines in front.
    for (int i = 0; i < 11; ++i) {
        const float x = 10.0f + i * 62.0f + s.Uniform(-12, 12);
        const float h = s.Uniform(50, 90);
        const float base = 470.0f;
        FillShape(c, Polygon({{x - h * 0.28f, base}, {x + h * 0.28f, base}, {x, base - h}}),
                  k.hills, flat, 0.4f, 0.0f);
    }
}

Canvas DrawFrame(const StarInks& k, const CommonInks& common, int phase) {
    Canvas c(kBackdropWidth, kBackdropHeight);
    DrawSky(c, k.night, 480, 0.05f, 1.0f);
    // Faint milky band across the sky.
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 640; ++x) {
            const float band = std::exp(-std::pow((y - 80 - x * 0.35f) / 60.0f, 2.0f));
            const float n = FractalNoise(x / 30.0f, y / 30.0f, 5, 3);
            if (band * n > 0.3f) {
                c.Shade(x, y, k.night, (y / 480.0f) + band * n * 0.35f);
            }
        }
    }
    Scatter s(29);
    for (int i = 0; i < 170; ++i) {
        const Vec2 at{s.Uniform(0, 640), s.Uniform(0, 400)};
        const float bright = s.Uniform(0, 1);
        const bool twinkling = (s.Next() % 2) == static_cast<unsigned>(phase);
        c.Put(static_cast<int>(at.x), static_cast<int>(at.y),
              k.twinkle[static_cast<std::size_t>(bright * 4.0f) + (twinkling ? 3 : 0)]);
        if (twinkling && bright > 0.8f) {
            DrawSparkle(c, k, at, 4.0f + bright * 3.0f);
        }
    }
    // Crescent moon.
    Style moon;
    moon.bevel = 20.0f;
    moon.outlineIndex = k.moon.Darkest();
    FillShape(c, Subtract(Circle({96, 92}, 44), Circle({120, 76}, 40)), k.moon, moon, 0.9f, 0.2f);
    const Vec2 star{360, 196};
    // The second frame turns the rays to fall between the first frame's.
    DrawGlow(c, k, star, 70.0f, phase * 38.5f, static_cast<float>(phase));
    DrawBigStar(c, k, common, star, 104.0f);
    DrawVillage(c, k);
    // A shooting star crossing the frames.
    const Vec2 head = phase == 0 ? Vec2{560, 60} : Vec2{520, 92};
    for (int i = 0; i < 40; ++i) {
        const Vec2 p = head + Vec2{i * 2.0f, -i * 0.8f};
        c.Shade(static_cast<int>(p.x), static_cast<int>(p.y), k.twinkle, 1.0f - i / 40.0f);
    }
    DrawSparkle(c, k, head, 6.0f);
    return c;
}

}  // namespace

std::vector<Canvas> DrawStarBackdrop(PaletteBuilder& builder, const CommonInks& inks) {
    const StarInks k = AddStarInks(builder);
    return {DrawFrame(k, inks, 0), DrawFrame(k, inks, 1)};
}

}  // namespace pictures
