// Actor of the second scene: a sunflower opening from a green bud to full bloom.
#include <algorithm>
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

constexpr float kGoldenAngle = 137.50776f;

void DrawLeafOnStem(Canvas& c, const CommonInks& k, Vec2 root, float angle, float length) {
    const Vec2 tip = Polar(root, angle, length);
    const Vec2 mid = Polar(root, angle, length * 0.45f);
    const Shape blade = SmoothUnion(Ellipse(mid, length * 0.48f, length * 0.2f, angle),
                                    Capsule(mid, tip, 1.0f), 6.0f);
    Style st;
    st.bevel = 10.0f;
    st.outlineIndex = k.green.Darkest();
    const Vec2 dir = Polar({0, 0}, angle, 1.0f);
    PaintShape(c, blade, st, [&](const Surfel& f) {
        const Vec2 p{f.x + 0.5f, f.y + 0.5f};
        const Vec2 q = p - root;
        const float across = q.x * -dir.y + q.y * dir.x;
        // Midrib as a darker line.
        const float rib = std::abs(across) < 1.0f ? -0.25f : 0.0f;
        c.Shade(f.x, f.y, k.green, f.light * 0.85f + 0.05f + rib);
    });
}

// The green cup of sepals that still holds the petals of a young bud.
void DrawBud(Canvas& c, const CommonInks& k, Vec2 centre, float closed) {
    const Vec2 cup{centre.x, centre.y + 8.0f};
    std::vector<Shape> parts{Ellipse(cup, 17.0f + 3.0f * (1.0f - closed), 15.0f)};
    for (int i = 0; i < 7; ++i) {
        const float a = -90.0f + (i - 3) * 26.0f;
        const Vec2 base = Polar(cup, a, 12.0f);
        parts.push_back(
            Polygon({Polar(base, a - 90.0f, 6.0f), Polar(base, a, 12.0f + 6.0f * closed),
                     Polar(base, a + 90.0f, 6.0f)}));
    }
    Style st;
    st.bevel = 12.0f;
    st.outlineIndex = k.green.Darkest();
    FillShape(c, Union(parts), k.green, st, 0.85f, 0.1f);
}

void DrawHead(Canvas& c, const CommonInks& k, Vec2 centre, float open) {
    const int petals = 18;
    const float length = 20.0f + 28.0f * open;
    const float width = 6.0f + 4.0f * open;
    const float disc = 10.0f + 20.0f * open;
    Style petalStyle;
    petalStyle.bevel = 6.0f;
    petalStyle.outlineIndex = k.gold.Darkest();
    // Sepals: green points behind the petals, most visible while closed.
    for (int i = 0; i < 12; ++i) {
        const float a = -90.0f + (i * 30.0f - 165.0f) * (0.35f + 0.65f * open);
        const Vec2 mid = Polar(centre, a, disc * 0.6f + 8.0f);
        FillShape(c, Ellipse(mid, 12.0f, 5.0f, a), k.green, petalStyle, 0.8f);
    }
    // Two rings of petals; closed they stand up around the bud.
    // A bud shows only its outer ring, as a tight tuft.
    for (int ring = 0; ring < (open < 0.3f ? 1 : 2); ++ring) {
        for (int i = 0; i < petals; ++i) {
            const float base = i * 360.0f / petals + ring * (180.0f / petals);
            const float rel = std::fmod(base + 270.0f, 360.0f) - 180.0f;  // from straight up
            const float spread = 0.1f + 0.9f * open;
            const float a = -90.0f + rel * spread;
            const float len = length * (ring == 0 ? 1.0f : 0.86f);
            const Vec2 mid = Polar(centre, a, disc * 0.7f + len * 0.5f);
            const Shape petal = Ellipse(mid, len * 0.5f, width, a);
            PaintShape(c, petal, petalStyle, [&](const Surfel& f) {
                const float r = Length(Vec2{f.x + 0.5f, f.y + 0.5f} - centre);
                const float tipward = std::clamp((r - disc) / len, 0.0f, 1.0f);
                const float v = f.light * 0.8f + 0.2f * tipward + (ring == 0 ? 0.0f : -0.12f);
                c.Shade(f.x, f.y, k.gold, v);
            });
        }
    }
    if (open < 0.3f) {
        DrawBud(c, k, centre, 1.0f - open * 2.0f);
        return;
    }
    // Seed disc: a brown dome with seeds laid on the golden angle.
    Style discStyle;
    discStyle.bevel = disc;
    discStyle.outlineIndex = k.brown.Darkest();
    FillShape(c, Circle(centre, disc), k.brown, discStyle, 0.7f, 0.05f);
    const int seeds = static_cast<int>(disc * disc * 0.55f);
    for (int i = 1; i < seeds; ++i) {
        const float r = disc * 0.92f * std::sqrt(static_cast<float>(i) / seeds);
        const Vec2 p = Polar(centre, i * kGoldenAngle, r);
        const float lit = 0.55f - (p.x - centre.x + p.y - centre.y) / (disc * 4.0f);
        c.Shade(static_cast<int>(p.x), static_cast<int>(p.y), k.brown, lit + 0.15f);
        c.Put(static_cast<int>(p.x) + 1, static_cast<int>(p.y) + 1, k.brown[1]);
    }
}

Canvas DrawFrame(const CommonInks& k, int frame) {
    Canvas c(kActorWidth, kActorHeight);
    DrawSky(c, k.sky, kActorHeight, 0.35f, 1.0f);
    FillMeadow(c, Hill(150, 4, 0.05f, 1.0f, kActorWidth, kActorHeight), k.green, 140, kActorHeight,
               61);
    DrawGrass(c, k.green, 0, kActorWidth, 150, kActorHeight, 70, 0.0f, 62);
    const float open = static_cast<float>(frame) / (kActorFrames - 1);
    // The head lifts and turns to face us as it opens.
    const Vec2 head{120 + 6.0f * (1.0f - open), 72 - 6.0f * open};
    const Shape stem = Stroke(Bezier({118, 182}, {126, 128}, head, 10), 5.5f, 4.0f);
    Style st;
    st.bevel = 4.0f;
    st.outlineIndex = k.green.Darkest();
    FillShape(c, stem, k.green, st, 0.8f, 0.05f);
    DrawLeafOnStem(c, k, {121, 140}, -20.0f - 10.0f * open, 44.0f);
    DrawLeafOnStem(c, k, {122, 158}, 200.0f + 8.0f * open, 40.0f);
    DrawHead(c, k, head, open);
    return c;
}

}  // namespace

std::vector<Canvas> DrawSunflowerActor(const CommonInks& inks) {
    std::vector<Canvas> frames;
    for (int i = 0; i < kActorFrames; ++i) {
        frames.push_back(DrawFrame(inks, i));
    }
    return frames;
}

}  // namespace pictures
