// Horse and zebra figures.
#include "assets/pictures/Equine.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

Vec2 Along(Vec2 from, Vec2 to, Vec2 p) {
    const Vec2 axis = to - from;
    const float len = std::max(Length(axis), 1e-3f);
    const Vec2 u = axis * (1.0f / len);
    const Vec2 d = p - from;
    return {Dot(d, u), d.x * -u.y + d.y * u.x};
}

// Sizes below are for an animal whose head radius is 8.5 pixels; larger ones scale up.
float Scale(const QuadrupedBuild& b) {
    return b.headRadius / 8.5f;
}

Style Outlined(const EquineLook& look, float bevel, float scale = 1.0f) {
    Style s;
    s.bevel = bevel;
    s.outlineIndex = look.ink;
    s.outline = scale > 1.5f ? 2.0f : 1.2f;
    return s;
}

void DrawLeg(Canvas& c, const Leg& leg, const QuadrupedBuild& b, const EquineLook& look) {
    const float k = Scale(b);
    PaintShape(c, leg.shape, Outlined(look, b.legRadius, k), [&](const Surfel& f) {
        look.coat(f, CoatRegion::Leg, LegCoordinates(leg, {f.x + 0.5f, f.y + 0.5f}), leg.far);
    });
    const Vec2 dir = (leg.foot - leg.joint) * (1.0f / std::max(Length(leg.foot - leg.joint), 1.0f));
    const Shape hoof = TaperedCapsule(leg.foot - dir * (2.0f * k), leg.foot + dir * (4.0f * k),
                                      b.footRadius * 1.05f, b.footRadius * 1.35f);
    FillShape(c, hoof, *look.hoof, Outlined(look, 2.0f * k, k), leg.far ? 0.5f : 0.8f);
}

void DrawTail(Canvas& c, const QuadrupedPose& q, const QuadrupedBuild& b, const EquineLook& look) {
    const float k = Scale(b);
    const Vec2 root = q.tailRoot;
    const float len = b.haunchRadius * (look.tuftedTail ? 2.0f : 2.6f);
    const Vec2 end =
        root + Vec2{-len * (0.35f + 0.45f * look.wind), len * (0.95f - 0.5f * look.wind)};
    const Vec2 ctrl = root + Vec2{-len * (0.45f + 0.2f * look.wind), len * 0.15f};
    const std::vector<Vec2> path = Bezier(root, ctrl, end, 10);
    Style st = Outlined(look, 4.0f * k, k);
    if (look.tuftedTail) {
        FillShape(c, Stroke(path, 3.0f * k, 2.0f * k), *look.mane, st, 0.6f, 0.3f);
        FillShape(c,
                  Ellipse(end + Vec2{0, 3.0f * k}, 4.0f * k, 9.0f * k, 90.0f - 30.0f * look.wind),
                  *look.mane, st, 0.5f, 0.0f);
        return;
    }
    std::vector<Shape> strands;
    for (int i = 0; i < 3; ++i) {
        const Vec2 off = Vec2{-3.0f * i, 2.0f * i} * k;
        strands.push_back(Stroke(Bezier(root + off * 0.3f, ctrl + off, end + off * 1.6f, 10),
                                 b.haunchRadius * 0.22f, 2.0f * k));
    }
    PaintShape(c, Union(strands), st, [&](const Surfel& f) {
        const float comb = 0.12f * std::sin((f.x + f.y * 0.4f) * 0.9f / k);
        c.Shade(f.x, f.y, *look.mane, f.light * 0.8f + comb);
    });
}

void DrawMane(Canvas& c, const QuadrupedPose& q, const QuadrupedBuild& b, const EquineLook& look) {
    const float k = Scale(b);
    const Vec2 from = q.withers + Vec2{-b.neckRadius * 0.3f, b.neckRadius * 0.6f};
    const Vec2 to = q.head;
    const Vec2 d = (to - from) * (1.0f / std::max(Length(to - from), 1.0f));
    const Vec2 n{d.y, -d.x};  // the crest side of the neck
    Style st = Outlined(look, 3.0f * k, k);
    const int tufts = look.uprightMane ? 13 : 10;
    for (int i = 0; i < tufts; ++i) {
        const float t = 0.12f + 0.88f * static_cast<float>(i) / (tufts - 1);
        const float radius = b.neckRadius + (b.headRadius - b.neckRadius) * t;
        const Vec2 base = Lerp(from, to, t) + n * (radius * 0.7f);
        Vec2 tip;
        if (look.uprightMane) {
            tip = base + n * (b.neckRadius * 0.75f);
        } else {
            tip = base + n * (radius * 0.3f) +
                  Vec2{-b.neckRadius * (0.8f + 0.9f * look.wind),
                       b.neckRadius * (0.6f - 0.5f * look.wind)};
        }
        const float r = (look.uprightMane ? 3.2f : 4.6f) * k;
        const Shape tuft =
            Stroke(Bezier(base, Lerp(base, tip, 0.5f) + Vec2{1.0f, -1.0f} * k, tip, 5), r, k);
        PaintShape(c, tuft, st, [&](const Surfel& f) {
            if (look.uprightMane) {
                // A zebra's mane carries the stripes of the neck.
                c.Shade(f.x, f.y, *look.mane, i % 2 == 0 ? f.light * 0.25f : 0.6f + f.light * 0.4f);
            } else {
                c.Shade(f.x, f.y, *look.mane, f.light * 0.8f);
            }
        });
    }
}

void DrawHead(Canvas& c, const QuadrupedPose& q, const QuadrupedBuild& b, const EquineLook& look) {
    const float k = Scale(b);
    const Vec2 poll = q.head;
    const float len = look.headLength;
    const Vec2 nose = poll + Polar({0, 0}, 52.0f, len);
    const float r = b.headRadius;
    // Ears first, behind the head.
    Style st = Outlined(look, 4.0f * k, k);
    for (int e = 0; e < 2; ++e) {
        const Vec2 base = poll + Vec2{(-2.0f + e * 4.0f) * k, -r * 0.6f};
        const Vec2 tip = base + Vec2{(-3.0f + e * 2.0f) * k, -r * (look.uprightMane ? 2.0f : 1.5f)};
        const Shape ear =
            TaperedCapsule(base, tip, r * (look.uprightMane ? 0.5f : 0.38f), 0.8f * k);
        PaintShape(c, ear, st, [&](const Surfel& f) {
            look.coat(f, CoatRegion::Head, {-1.0f, 0.0f}, e == 0);
        });
    }
    const Shape head =
        SmoothUnion(TaperedCapsule(poll, nose, r * 1.15f, r * 0.72f),
                    Ellipse(poll + Vec2{2.0f * k, r * 0.55f}, r * 1.2f, r * 0.9f, 45.0f), 4.0f * k);
    PaintShape(c, head, Outlined(look, r, k), [&](const Surfel& f) {
        const Vec2 p{f.x + 0.5f, f.y + 0.5f};
        const Vec2 a = Along(poll, nose, p);
        if (a.x > len - r * 0.95f) {
            c.Shade(f.x, f.y, *look.muzzle, f.light * 0.7f);
        } else {
            look.coat(f, CoatRegion::Head, a, false);
        }
    });
    const Vec2 eye = poll + Polar({0, 0}, 52.0f, len * 0.28f) + Vec2{2.0f * k, -r * 0.25f};
    FillFlat(c, Ellipse(eye, 2.6f * k, 2.0f * k, 30.0f), look.ink);
    FillFlat(c, Circle(eye + Vec2{-0.6f, -0.9f} * k, 0.5f * k + 0.3f), look.eyeGlint);
    const Vec2 nostril =
        nose + Polar({0, 0}, 52.0f - 90.0f, r * 0.25f) - Polar({0, 0}, 52.0f, 2.0f * k);
    FillFlat(c, Ellipse(nostril, 1.8f * k, 1.2f * k, 52.0f), look.ink);
}

}  // namespace

void DrawEquine(Canvas& c, const QuadrupedBuild& b, float stride, const EquineLook& look) {
    const QuadrupedPose q = PoseQuadruped(b, stride);
    DrawLeg(c, q.legs[0], b, look);
    DrawLeg(c, q.legs[1], b, look);
    DrawTail(c, q, b, look);
    const Vec2 neckFrom = q.withers;
    PaintShape(c, q.trunk, Outlined(look, b.chestRadius * 0.7f, Scale(b)), [&](const Surfel& f) {
        const Vec2 p{f.x + 0.5f, f.y + 0.5f};
        // In front of the shoulder and above the chest's top the trunk is neck.
        const bool neck = p.x > q.shoulder.x && p.y < q.shoulder.y - b.chestRadius * 0.4f;
        if (neck) {
            look.coat(f, CoatRegion::Neck, Along(neckFrom, q.head, p), false);
        } else {
            look.coat(f, CoatRegion::Body, p, false);
        }
    });
    DrawLeg(c, q.legs[2], b, look);
    DrawLeg(c, q.legs[3], b, look);
    DrawMane(c, q, b, look);
    DrawHead(c, q, b, look);
}

}  // namespace pictures
