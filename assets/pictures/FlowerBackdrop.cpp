// Backdrop of the second scene: tulips, daisies and cosmos swaying in the wind, with a
// butterfly. The two frames lean the flowers one way and the other.
#include <algorithm>
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

struct FlowerInks {
    Ramp sky, trees, meadow, stem, tulip, cosmos, violet, daisy, cloud;
};

FlowerInks AddFlowerInks(PaletteBuilder& b) {
    const Block s = Block::Scene;
    FlowerInks k;
    k.sky = b.Add(s, Gradient({{96, 150, 214}, {160, 204, 240}, {226, 242, 252}}, 12));
    k.trees = b.Add(s, Gradient({{26, 56, 48}, {58, 104, 74}, {110, 150, 100}}, 10));
    k.meadow =
        b.Add(s, Gradient({{24, 70, 26}, {64, 130, 40}, {130, 186, 64}, {200, 230, 120}}, 16));
    k.stem = b.Add(s, Gradient({{16, 50, 22}, {40, 104, 36}, {100, 166, 60}, {180, 220, 110}}, 14));
    k.tulip = b.Add(s, Gradient({{88, 8, 20}, {180, 24, 36}, {238, 70, 60}, {255, 150, 120}}, 16));
    k.cosmos =
        b.Add(s, Gradient({{110, 20, 80}, {210, 70, 150}, {250, 150, 206}, {255, 220, 240}}, 14));
    k.violet =
        b.Add(s, Gradient({{40, 20, 90}, {96, 60, 180}, {160, 130, 236}, {220, 210, 255}}, 12));
    k.daisy = b.Add(s, Gradient({{120, 130, 150}, {200, 208, 220}, {252, 252, 255}}, 10));
    k.cloud = b.Add(s, Gradient({{170, 190, 220}, {230, 238, 250}, {250, 254, 255}}, 8));
    b.FillRest(s, {{80, 60, 40}, {180, 150, 90}, {250, 230, 170}});
    return k;
}

struct Flower {
    enum Kind { Tulip, Daisy, Cosmos, Bell } kind;
    float x;
    float height;
    float size;
    float lean;  // sway of the head, in pixels, at full wind
};

constexpr float kGround = 480.0f;

Vec2 DrawStem(Canvas& c, const FlowerInks& k, const Flower& f, float wind) {
    const Vec2 root{f.x, kGround + 4};
    const Vec2 head{f.x + f.lean * wind, kGround - f.height};
    const Vec2 ctrl{f.x + f.lean * wind * 0.15f, kGround - f.height * 0.5f};
    Style st;
    st.bevel = 3.0f;
    st.outlineIndex = k.stem.Darkest();
    FillShape(c, Stroke(Bezier(root, ctrl, head, 12), 3.2f * f.size, 2.4f * f.size), k.stem, st,
              0.85f, 0.05f);
    // Long leaves from the base.
    for (int side = -1; side <= 1; side += 2) {
        const float a = -90.0f + side * (28.0f + 6.0f * side * wind);
        DrawLeafBlade(c, Lerp(root, ctrl, 0.25f), a, f.height * 0.45f, 16.0f * f.size, k.stem,
                      k.stem.Darkest(), 0.85f);
    }
    return head;
}

void DrawTulip(Canvas& c, const FlowerInks& k, Vec2 at, float size, float tilt) {
    Style st;
    st.bevel = 12.0f * size;
    st.outlineIndex = k.tulip.Darkest();
    st.outline = 1.5f;
    const float r = 22.0f * size;
    // Back petal, then the two side petals curving in, then the front one.
    FillShape(c, Ellipse(at + Vec2{0, -r * 0.5f}, r * 0.55f, r * 0.95f, tilt), k.tulip, st, 0.7f);
    for (int side = -1; side <= 1; side += 2) {
        const Vec2 p = at + Rotate(Vec2{side * r * 0.45f, -r * 0.35f}, tilt * 0.0174533f);
        FillShape(c, Ellipse(p, r * 0.5f, r * 0.9f, tilt + side * 12.0f), k.tulip, st, 0.9f, 0.02f);
    }
    FillShape(c, Ellipse(at + Vec2{0, -r * 0.25f}, r * 0.55f, r * 0.8f, tilt), k.tulip, st, 1.0f,
              0.08f);
}

void DrawRadial(Canvas& c, const Ramp& petal, const Ramp& centre, Vec2 at, float size, int count,
                float petalLength, float petalWidth, float squash, std::uint8_t outline) {
    Style st;
    st.bevel = petalWidth;
    st.outlineIndex = outline;
    for (int i = 0; i < count; ++i) {
        const float a = i * 360.0f / count + 7.0f;
        const Vec2 dir = Polar({0, 0}, a, 1.0f);
        const Vec2 mid = at + Vec2{dir.x, dir.y * squash} * (petalLength * 0.55f * size);
        const float shown = std::atan2(dir.y * squash, dir.x) * 57.2958f;
        FillShape(c, Ellipse(mid, petalLength * 0.5f * size, petalWidth * size, shown), petal, st,
                  0.8f, 0.2f);
    }
    Style cs;
    cs.bevel = 8.0f * size;
    cs.outlineIndex = centre.Darkest();
    FillShape(c, Ellipse(at, 8.0f * size, 8.0f * size * squash), centre, cs, 0.8f, 0.15f);
}

void DrawBells(Canvas& c, const FlowerInks& k, Vec2 top, float size, float wind) {
    Style st;
    st.bevel = 6.0f;
    st.outlineIndex = k.violet.Darkest();
    for (int i = 0; i < 5; ++i) {
        const Vec2 at = top + Vec2{(i % 2 ? 9.0f : -9.0f) * size + wind * i, i * 17.0f * size};
        const Shape bell = Union(
            Ellipse(at, 8.0f * size, 10.0f * size),
            Polygon({at + Vec2{-10, 4} * size, at + Vec2{10, 4} * size, at + Vec2{0, 14} * size}));
        FillShape(c, bell, k.violet, st, 0.85f, 0.1f);
    }
}

void DrawButterfly(Canvas& c, const CommonInks& common, Vec2 at, float open) {
    Style st;
    st.bevel = 6.0f;
    st.outlineIndex = common.ink;
    for (int side = -1; side <= 1; side += 2) {
        const float w = 26.0f * open + 6.0f;
        FillShape(c, Ellipse(at + Vec2{side * w * 0.55f, -8}, w * 0.55f, 16, side * 25.0f),
                  common.orange, st, 0.8f, 0.2f);
        FillShape(c, Ellipse(at + Vec2{side * w * 0.4f, 10}, w * 0.4f, 11, side * -30.0f),
                  common.orange, st, 0.7f, 0.1f);
        FillFlat(c, Circle(at + Vec2{side * w * 0.7f, -12}, 3.0f), common.ink);
    }
    FillShape(c, Capsule(at + Vec2{0, -14}, at + Vec2{0, 16}, 3.0f), common.brown, st, 0.4f);
    for (int side = -1; side <= 1; side += 2) {
        FillFlat(c, Capsule(at + Vec2{0, -14}, at + Vec2{side * 8.0f, -28}, 0.7f), common.ink);
    }
}

// Small flowers dotted over the meadow behind, nearer ones larger.
void DrawFlowerField(Canvas& c, const FlowerInks& k, const CommonInks& common, float wind) {
    Scatter s(17);
    std::vector<Vec2> spots;
    for (int i = 0; i < 70; ++i) {
        spots.push_back({s.Uniform(0, 640), s.Uniform(282, 372)});
    }
    std::sort(spots.begin(), spots.end(), [](Vec2 a, Vec2 b) { return a.y < b.y; });
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const Vec2 at = spots[i];
        const float size = 0.22f + 0.3f * (at.y - 282) / 90.0f;
        Style st;
        st.bevel = 2.0f;
        st.outlineIndex = k.stem.Darkest();
        FillShape(c, Capsule(at, at + Vec2{-wind * 2.0f, 24.0f * size}, 1.2f), k.stem, st, 0.7f);
        const Ramp* petals[] = {&k.tulip, &k.cosmos, &k.violet, &k.daisy};
        const Ramp& petal = *petals[i % 4];
        DrawRadial(c, petal, common.gold, at, size, 6, 30, 9, 0.8f, petal.Darkest());
    }
}

Canvas DrawFrame(const FlowerInks& k, const CommonInks& common, int phase) {
    Canvas c(kBackdropWidth, kBackdropHeight);
    const float wind = phase == 0 ? -1.0f : 1.0f;
    DrawSky(c, k.sky, 260, 0.3f, 1.0f);
    DrawCloud(c, CloudShape({150 + phase * 10.0f, 80}, 150, 11), k.cloud);
    DrawCloud(c, CloudShape({480 + phase * 10.0f, 120}, 110, 12), k.cloud);
    // A line of trees on the horizon.
    Style flat;
    flat.outline = 0.0f;
    flat.bevel = 14.0f;
    std::vector<Shape> crowns;
    Scatter s(13);
    for (int i = 0; i < 22; ++i) {
        crowns.push_back(
            Circle({i * 30.0f + s.Uniform(-8, 8), 236 + s.Uniform(-10, 8)}, s.Uniform(18, 30)));
    }
    FillShape(c, Roughen(Union(crowns), 3.0f, 6.0f, 14), k.trees, flat, 0.9f, 0.0f);
    FillMeadow(c, Hill(250, 6, 0.015f, 0.3f, 640, 480), k.meadow, 240, 480, 15);
    DrawGrass(c, k.meadow, 0, 640, 270, 480, 420, wind * 4.0f, 16);
    DrawFlowerField(c, k, common, wind);

    const Flower flowers[] = {
        {Flower::Daisy, 40, 170, 0.8f, 8},    {Flower::Tulip, 112, 220, 1.0f, 14},
        {Flower::Bell, 180, 190, 0.9f, 10},   {Flower::Cosmos, 250, 250, 1.0f, 16},
        {Flower::Tulip, 330, 180, 0.85f, 12}, {Flower::Daisy, 400, 230, 1.0f, 15},
        {Flower::Tulip, 470, 260, 1.1f, 18},  {Flower::Cosmos, 548, 200, 0.9f, 12},
        {Flower::Daisy, 612, 240, 0.9f, 14},  {Flower::Tulip, 70, 120, 0.9f, 6},
        {Flower::Cosmos, 360, 110, 0.8f, 6},  {Flower::Tulip, 580, 110, 0.8f, 6},
    };
    for (const Flower& f : flowers) {
        const Vec2 head = DrawStem(c, k, f, wind);
        const float size = f.size * 1.15f;
        switch (f.kind) {
            case Flower::Tulip:
                DrawTulip(c, k, head, size, wind * 8.0f);
                break;
            case Flower::Daisy:
                DrawRadial(c, k.daisy, common.gold, head, size, 16, 34, 6, 0.85f, k.daisy[0]);
                break;
            case Flower::Cosmos:
                DrawRadial(c, k.cosmos, common.gold, head, size, 8, 36, 11, 0.9f, k.cosmos[0]);
                break;
            case Flower::Bell:
                DrawBells(c, k, head, size, wind);
                break;
        }
    }
    DrawButterfly(c, common, phase == 0 ? Vec2{300, 120} : Vec2{316, 108},
                  phase == 0 ? 1.0f : 0.35f);
    return c;
}

}  // namespace

std::vector<Canvas> DrawFlowerBackdrop(PaletteBuilder& builder, const CommonInks& inks) {
    const FlowerInks k = AddFlowerInks(builder);
    return {DrawFrame(k, inks, 0), DrawFrame(k, inks, 1)};
}

}  // namespace pictures
