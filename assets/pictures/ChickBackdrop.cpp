// Backdrop of the first scene: a fluffy chick cheeping on a spring meadow beside its eggshell.
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

struct ChickInks {
    Ramp sky, sun, cloud, hill, meadow, chick, beak, egg, blossom, lilac;
};

ChickInks AddChickInks(PaletteBuilder& b) {
    const Block s = Block::Scene;
    ChickInks k;
    k.sky = b.Add(s, Gradient({{80, 138, 220}, {142, 192, 244}, {214, 236, 255}}, 14));
    k.sun = b.Add(
        s, Gradient({{206, 228, 240}, {255, 238, 160}, {255, 230, 110}, {255, 252, 226}}, 10));
    k.cloud = b.Add(s, Gradient({{150, 170, 206}, {214, 224, 244}, {255, 255, 255}}, 9));
    k.hill = b.Add(s, Gradient({{50, 112, 56}, {104, 168, 74}, {176, 216, 112}}, 12));
    k.meadow =
        b.Add(s, Gradient({{20, 62, 22}, {48, 116, 30}, {102, 168, 44}, {174, 218, 88}}, 16));
    k.chick = b.Add(
        s,
        Gradient({{140, 80, 10}, {222, 154, 20}, {252, 212, 48}, {255, 242, 140}, {255, 252, 222}},
                 16));
    k.beak = b.Add(s, Gradient({{140, 54, 10}, {234, 120, 22}, {255, 194, 100}}, 8));
    k.egg =
        b.Add(s, Gradient({{112, 102, 94}, {196, 186, 172}, {244, 238, 226}, {255, 253, 246}}, 11));
    k.blossom = b.Add(s, Gradient({{150, 30, 70}, {236, 96, 140}, {255, 196, 214}}, 8));
    k.lilac = b.Add(s, Gradient({{80, 60, 140}, {150, 130, 220}, {220, 210, 255}}, 8));
    b.FillRest(s, {{60, 90, 60}, {150, 190, 120}, {250, 240, 200}});
    return k;
}

void DrawFlowersInGrass(Canvas& c, const ChickInks& k, const CommonInks& common, unsigned seed) {
    Scatter s(seed);
    for (int i = 0; i < 34; ++i) {
        const float x = s.Uniform(8, 632);
        const float y = s.Uniform(350, 472);
        const float r = 2.5f + 3.5f * (y - 350) / 122.0f;
        const Ramp& petal = (i % 3 == 0) ? k.blossom : (i % 3 == 1 ? k.cloud : k.lilac);
        Style st;
        st.bevel = r;
        for (int p = 0; p < 5; ++p) {
            FillShape(c, Circle(Polar({x, y}, p * 72.0f + i * 11.0f, r), r * 0.75f), petal, st,
                      0.8f, 0.25f);
        }
        FillShape(c, Circle({x, y}, r * 0.6f), common.gold, st, 0.8f, 0.2f);
    }
}

void DrawEggshell(Canvas& c, const ChickInks& k, const CommonInks& common, Vec2 at) {
    // Lower half of the egg with a zigzag rim, and its cap lying beside it.
    std::vector<Vec2> rim;
    for (int i = 0; i <= 12; ++i) {
        const float x = at.x - 52 + i * (104.0f / 12.0f);
        rim.push_back({x, at.y - 18 + ((i % 2) ? -14.0f : 6.0f)});
    }
    rim.push_back({at.x + 80, at.y + 90});
    rim.push_back({at.x - 80, at.y + 90});
    const Shape egg = Ellipse(at, 54, 68);
    const Shape shell = Intersect(egg, Polygon(rim));
    Style st;
    st.bevel = 40.0f;
    st.outlineIndex = common.ink;
    st.outline = 1.5f;
    FillShape(c, shell, k.egg, st, 1.05f, 0.05f);
    // Inside of the shell seen over the rim.
    const Shape inside = Intersect(Ellipse({at.x, at.y - 14}, 46, 12), Polygon(rim));
    Style hollow;
    hollow.bevel = 4.0f;
    hollow.ambient = 0.2f;
    hollow.diffuse = 0.3f;
    hollow.outline = 0.0f;
    FillShape(c, inside, k.egg, hollow);
    // The cap: the egg's top, tipped over onto its side.
    std::vector<Vec2> capRim;
    const Vec2 capAt{at.x + 96, at.y + 50};
    for (int i = 0; i <= 8; ++i) {
        const Vec2 q{-14.0f + ((i % 2) ? 8.0f : 0.0f), -36.0f + i * 9.0f};
        capRim.push_back(capAt + Rotate(q, 0.35f));
    }
    capRim.push_back(capAt + Rotate({60, 40}, 0.35f));
    capRim.push_back(capAt + Rotate({60, -40}, 0.35f));
    const Shape capShell =
        Intersect(Ellipse(capAt + Rotate({-6, 0}, 0.35f), 40, 34, 20.0f), Polygon(capRim));
    FillShape(c, capShell, k.egg, st, 1.05f, 0.05f);
}

Shape ChickBlob(Vec2 body, Vec2 head) {
    return SmoothUnion(Ellipse(body, 104, 88), Circle(head, 62), 30.0f);
}

void DrawChick(Canvas& c, const ChickInks& k, const CommonInks& common, int phase) {
    const float hop = phase == 0 ? 0.0f : -10.0f;
    const Vec2 body{300, 330 + hop};
    const Vec2 head{352, 226 + hop + (phase == 0 ? 0.0f : 4.0f)};
    Style shadowStyle;
    shadowStyle.outline = 0.0f;
    FillShape(c, Ellipse({300, 420}, 110 - hop, 16), k.meadow, shadowStyle, 0.0f, 0.08f);
    // Legs and feet.
    Style leg;
    leg.bevel = 3.0f;
    leg.outlineIndex = common.ink;
    for (int side = 0; side < 2; ++side) {
        const float x = 270.0f + side * 62.0f;
        const Vec2 hip{x, 400 + hop};
        const Vec2 foot{x + 4, 424};
        FillShape(c, Capsule(hip, foot, 5), k.beak, leg);
        for (int t = -1; t <= 1; ++t) {
            FillShape(c, Capsule(foot, Polar(foot, 10.0f + t * 26.0f - 180.0f * (t < -1), 20), 4),
                      k.beak, leg);
        }
    }
    Style fluff;
    fluff.bevel = 70.0f;
    fluff.ambient = 0.2f;
    fluff.diffuse = 0.85f;
    fluff.outline = 2.0f;
    const Shape blob = ChickBlob(body, head);
    fluff.outlineIndex = k.chick[1];
    fluff.lightShape = &blob;
    PaintShape(c, Roughen(blob, 3.5f, 4.0f, 91), fluff, [&](const Surfel& f) {
        const float fur = (FractalNoise(f.x / 5.0f, f.y / 9.0f, 17, 2) - 0.5f) * 0.12f;
        c.Shade(f.x, f.y, k.chick, f.light + fur);
    });
    // Tuft on top of the head.
    for (int i = 0; i < 3; ++i) {
        const Vec2 root{head.x - 14 + i * 12.0f, head.y - 56};
        const Vec2 tip{root.x - 10 + i * 8.0f, root.y - 24 + std::abs(i - 1) * 6.0f};
        Style st;
        st.bevel = 3.0f;
        st.outlineIndex = k.chick[1];
        FillShape(c, Stroke(Bezier(root, {root.x + 8, root.y - 14}, tip, 6), 5.0f, 1.5f), k.chick,
                  st);
    }
    // Wing: down and tucked, or lifted.
    const float wingAngle = phase == 0 ? -12.0f : -48.0f;
    const Vec2 shoulder{262, 318 + hop};
    std::vector<Shape> feathers;
    for (int i = 0; i < 3; ++i) {
        const float a = 180.0f - 35.0f + wingAngle + i * 22.0f;
        feathers.push_back(Ellipse(Polar(shoulder, a, 40), 34 - i * 3.0f, 16, a));
    }
    Style wing;
    wing.bevel = 16.0f;
    wing.outlineIndex = k.chick[2];
    wing.outline = 1.5f;
    FillShape(c, Roughen(Union(feathers), 1.5f, 3.0f, 5), k.chick, wing, 0.8f, 0.0f);
    // Cheek and eye.
    Style flat;
    flat.outline = 0.0f;
    PaintShape(c, Ellipse({head.x + 6, head.y + 26}, 16, 10), flat, [&](const Surfel& f) {
        if (BayerThreshold(f.x, f.y) < 0.5f) {
            c.Shade(f.x, f.y, k.blossom, 0.75f);
        }
    });
    Style eye;
    eye.bevel = 6.0f;
    eye.outlineIndex = common.ink;
    FillShape(c, Ellipse({head.x + 18, head.y - 6}, 10, 13), common.neutral, eye, 0.35f, -0.1f);
    FillFlat(c, Circle({head.x + 14, head.y - 11}, 3.5f), common.neutral.Brightest());
    FillFlat(c, Circle({head.x + 22, head.y - 1}, 1.5f), common.neutral[8]);
    // Beak: open while cheeping, closed otherwise.
    const Vec2 tip{head.x + 86, head.y + 12};
    Style beak;
    beak.bevel = 8.0f;
    beak.outlineIndex = k.beak.Darkest();
    beak.outline = 1.5f;
    if (phase == 0) {
        FillShape(
            c,
            Polygon({{head.x + 46, head.y + 2}, {tip.x, tip.y - 10}, {head.x + 50, head.y + 16}}),
            k.beak, beak);
        FillShape(
            c,
            Polygon(
                {{head.x + 50, head.y + 18}, {tip.x - 8, tip.y + 14}, {head.x + 46, head.y + 28}}),
            k.beak, beak, 0.8f);
    } else {
        FillShape(
            c, Polygon({{head.x + 46, head.y}, {tip.x - 4, tip.y + 2}, {head.x + 46, head.y + 24}}),
            k.beak, beak);
    }
}

Canvas DrawFrame(const ChickInks& k, const CommonInks& common, int phase) {
    Canvas c(kBackdropWidth, kBackdropHeight);
    DrawSky(c, k.sky, 300, 0.35f, 1.0f);
    DrawSun(c, {548, 78}, 36, k.sun, phase * 12.0f);
    const float drift = phase * 8.0f;
    DrawCloud(c, CloudShape({120 + drift, 96}, 170, 3), k.cloud);
    DrawCloud(c, CloudShape({372 + drift, 58}, 120, 4), k.cloud);
    DrawCloud(c, CloudShape({470 + drift * 0.6f, 170}, 90, 6), k.cloud);
    FillMeadow(c, Hill(262, 16, 0.011f, 0.8f, 640, 480), k.hill, 240, 340, 31);
    FillMeadow(c, Hill(318, 9, 0.017f, 2.0f, 640, 480), k.meadow, 300, 480, 32);
    DrawGrass(c, k.meadow, 0, 640, 330, 480, 520, phase == 0 ? -2.0f : 3.0f, 77);
    DrawFlowersInGrass(c, k, common, 55);
    DrawEggshell(c, k, common, {486, 398});
    DrawChick(c, k, common, phase);
    DrawGrass(c, k.meadow, 150, 470, 440, 480, 90, phase == 0 ? -2.0f : 3.0f, 78);
    return c;
}

}  // namespace

std::vector<Canvas> DrawChickBackdrop(PaletteBuilder& builder, const CommonInks& inks) {
    const ChickInks k = AddChickInks(builder);
    return {DrawFrame(k, inks, 0), DrawFrame(k, inks, 1)};
}

}  // namespace pictures
