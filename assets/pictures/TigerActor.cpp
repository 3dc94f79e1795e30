// Actor of the third scene: a tiger bounding through the jungle, from a stretched leap
// (frame 0) to paws gathered under it (frame 5).
#include <algorithm>
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Quadruped.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

QuadrupedBuild TigerBuild(float bob) {
    QuadrupedBuild b;
    b.centre = {100, 110 + bob};
    b.trunkLength = 70;
    b.chestRadius = 24;
    b.haunchRadius = 23;
    b.bellyRadius = 17;
    b.upperLeg = 21;
    b.lowerLeg = 22;
    b.legRadius = 9;
    b.footRadius = 5.5f;
    b.neckReach = {20, -8};
    b.neckRadius = 16;
    b.headRadius = 13;
    b.frontStretched = {60, 84, 46, 70};
    b.frontGathered = {18, -40, 4, -24};
    b.hindStretched = {-44, -76, -34, -60};
    b.hindGathered = {40, 6, 28, 14};
    return b;
}

// Dark stripes that thin toward the belly; v > 0 means stripe.
bool TigerStripe(float phase, float thin, float wobble) {
    const float band = std::sin(phase * 3.14159f + wobble);
    return band > 0.55f + thin * 0.45f;
}

void PaintFur(Canvas& c, const CommonInks& k, const Surfel& f, bool stripe, bool white, bool far) {
    const float shade = far ? -0.25f : 0.0f;
    if (stripe) {
        c.Shade(f.x, f.y, k.brown, f.light * 0.14f + shade * 0.3f);
    } else if (white) {
        c.Shade(f.x, f.y, k.neutral, 0.55f + f.light * 0.45f + shade);
    } else {
        c.Shade(f.x, f.y, k.orange, 0.08f + f.light * 0.6f + shade);
    }
}

void DrawTail(Canvas& c, const CommonInks& k, const QuadrupedPose& q, float stride) {
    const Vec2 root = q.tailRoot + Vec2{4, 4};
    const Vec2 end = root + Vec2{-44.0f, -18.0f + 26.0f * stride};
    const Vec2 ctrl = root + Vec2{-26.0f, 18.0f};
    const std::vector<Vec2> path = Bezier(root, ctrl, end, 12);
    Style st;
    st.bevel = 4.0f;
    st.outlineIndex = k.ink;
    PaintShape(c, Stroke(path, 5.0f, 4.0f), st, [&](const Surfel& f) {
        float t = 1.0f;
        float best = 1e9f;
        for (std::size_t i = 0; i < path.size(); ++i) {
            const float d = Length(path[i] - Vec2{f.x + 0.5f, f.y + 0.5f});
            if (d < best) {
                best = d;
                t = static_cast<float>(i) / (path.size() - 1);
            }
        }
        const bool tip = t > 0.86f;
        PaintFur(c, k, f, tip || std::sin(t * 34.0f) > 0.45f, false, false);
    });
}

// A tiger's head in profile; sizes are in head units of 1.2 pixels.
void DrawHead(Canvas& c, const CommonInks& k, Vec2 at) {
    constexpr float u = 1.2f;
    auto P = [&](float x, float y) { return at + Vec2{x, y} * u; };
    Style st;
    st.bevel = 8.0f * u;
    st.outlineIndex = k.ink;
    st.outline = 1.2f;
    // Round ears with pale insides.
    for (int e = 0; e < 2; ++e) {
        const Vec2 ear = P(-11.0f + e * 10.0f, -16.0f + e * 1.0f);
        FillShape(c, Circle(ear, 6.0f * u), k.orange, st, 0.7f, 0.05f);
        FillFlat(c, Circle(ear + Vec2{0.5f, 0.8f}, 2.8f * u), k.neutral[9]);
    }
    const Shape skull = Roughen(
        Union(Ellipse(at, 18 * u, 16 * u), Ellipse(P(-4, 8), 18 * u, 10 * u)), 1.2f, 2.0f, 12);
    PaintShape(c, skull, st, [&](const Surfel& f) {
        const Vec2 p{f.x + 0.5f, f.y + 0.5f};
        const Vec2 d = (p - at) * (1.0f / u);
        // White cheeks and brows; stripes fanning back over the forehead and cheeks.
        const bool white = Length(d - Vec2{11, 9}) < 10.0f ||
                           (d.y > 6.0f && d.x < 4.0f && d.x > -18.0f) ||
                           Length(d - Vec2{6, -8}) < 3.5f;
        const float ang = std::atan2(d.y, d.x);
        const bool stripe = !white && Length(d) > 8.0f && std::sin(ang * 8.0f) > 0.7f;
        PaintFur(c, k, f, stripe, white, false);
    });
    FillShape(c, Ellipse(P(17, 6), 8 * u, 6 * u), k.neutral, st, 0.45f, 0.55f);
    FillShape(c, Polygon({P(19, 2), P(26, 2), P(22, 7)}), k.rose, st, 0.5f, 0.3f);
    FillFlat(c, Capsule(P(22, 7), P(22, 11), 0.6f), k.ink);
    FillFlat(c, Capsule(P(18, 12), P(23, 11), 0.6f), k.ink);
    // Eye: amber with a dark pupil.
    const Vec2 eye = P(8, -5);
    FillFlat(c, Ellipse(eye, 4.0f * u, 2.7f * u, -10.0f), k.ink);
    FillFlat(c, Ellipse(eye, 2.8f * u, 1.8f * u, -10.0f), k.gold[6]);
    FillFlat(c, Circle(eye + Vec2{0.8f, 0}, 1.1f * u), k.ink);
}

Canvas DrawFrame(const CommonInks& k, int frame) {
    Canvas c(kActorWidth, kActorHeight);
    // Jungle: dark leaves behind, a mossy floor.
    for (int y = 0; y < kActorHeight; ++y) {
        for (int x = 0; x < kActorWidth; ++x) {
            const float n = FractalNoise(x / 14.0f, y / 11.0f, 88, 3);
            c.Shade(x, y, k.green, 0.12f + n * 0.38f + y * 0.0012f);
        }
    }
    Scatter s(89);
    for (int i = 0; i < 30; ++i) {
        const Vec2 at{s.Uniform(-10, 250), s.Uniform(-10, 130)};
        const float a = s.Uniform(20, 160);
        const float len = s.Uniform(26, 44);
        DrawLeafBlade(c, at, a, len, len * 0.34f, k.green, k.green[1], s.Uniform(0.45f, 0.75f));
    }
    FillMeadow(c, Hill(150, 3, 0.05f, 0.0f, kActorWidth, kActorHeight), k.green, 146, 180, 90);
    DrawGrass(c, k.green, 0, kActorWidth, 148, kActorHeight, 80, -2.0f, 91);

    const float stride = static_cast<float>(frame) / (kActorFrames - 1);
    const float bob = -6.0f * std::sin(stride * 3.14159f);
    const QuadrupedBuild b = TigerBuild(bob);
    const QuadrupedPose q = PoseQuadruped(b, stride);
    Style flat;
    flat.outline = 0.0f;
    FillShape(c, Ellipse({108, 166}, 74, 6), k.green, flat, 0.0f, 0.05f);

    Style fur;
    fur.bevel = 9.0f;
    fur.outlineIndex = k.ink;
    fur.outline = 1.2f;
    auto drawLeg = [&](const Leg& leg) {
        PaintShape(c, leg.shape, fur, [&](const Surfel& f) {
            const Vec2 lc = LegCoordinates(leg, {f.x + 0.5f, f.y + 0.5f});
            const bool stripe = lc.x < 0.55f && TigerStripe(lc.x * 9.0f, 0.0f, lc.y * 0.1f);
            PaintFur(c, k, f, stripe, lc.x > 0.8f || lc.y < -3.0f, leg.far);
        });
        const Vec2 dir =
            (leg.foot - leg.joint) * (1.0f / std::max(Length(leg.foot - leg.joint), 1.0f));
        FillShape(c, Ellipse(leg.foot + dir * 2.0f + Vec2{2, 0}, 7.0f, 4.5f), k.neutral, fur,
                  leg.far ? 0.4f : 0.5f, leg.far ? 0.2f : 0.45f);
    };
    drawLeg(q.legs[0]);
    drawLeg(q.legs[1]);
    DrawTail(c, k, q, stride);
    PaintShape(c, q.trunk, fur, [&](const Surfel& f) {
        const float below = (f.y - (b.centre.y + 4.0f)) / 16.0f;  // 0 mid-body, 1 at the belly
        const float wander = FractalNoise(f.x / 16.0f, f.y / 10.0f, 33, 2) * 2.2f;
        const float phase = (f.x - b.centre.x) / 7.5f + wander + 0.04f * (f.y - b.centre.y);
        const bool stripe =
            below < 0.7f && TigerStripe(phase, std::max(below + 0.3f, 0.0f) * 0.8f, 0.0f);
        PaintFur(c, k, f, stripe, below > 0.75f, false);
    });
    drawLeg(q.legs[2]);
    drawLeg(q.legs[3]);
    DrawHead(c, k, q.head + Vec2{12, -2});
    return c;
}

}  // namespace

std::vector<Canvas> DrawTigerActor(const CommonInks& inks) {
    std::vector<Canvas> frames;
    for (int i = 0; i < kActorFrames; ++i) {
        frames.push_back(DrawFrame(inks, i));
    }
    return frames;
}

}  // namespace pictures
