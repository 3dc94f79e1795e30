// Quadruped posing.
#include "assets/pictures/Quadruped.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}

// Direction of an angle measured from straight down, positive toward the front (+x).
Vec2 Down(float degrees) {
    const float r = degrees * 3.14159265f / 180.0f;
    return {std::sin(r), std::cos(r)};
}

Leg MakeLeg(const QuadrupedBuild& b, Vec2 top, float upperAngle, float lowerAngle, bool far) {
    Leg leg;
    leg.top = top;
    leg.joint = top + Down(upperAngle) * b.upperLeg;
    leg.foot = leg.joint + Down(lowerAngle) * b.lowerLeg;
    leg.far = far;
    const float jointRadius = Mix(b.legRadius, b.footRadius, 0.55f);
    leg.shape =
        SmoothUnion(TaperedCapsule(top, leg.joint, b.legRadius, jointRadius),
                    TaperedCapsule(leg.joint, leg.foot, jointRadius * 0.9f, b.footRadius), 3.0f);
    return leg;
}

}  // namespace

QuadrupedPose PoseQuadruped(const QuadrupedBuild& b, float stride) {
    QuadrupedPose q;
    const float s = std::clamp(stride, 0.0f, 1.0f);
    // Gathered, the forehand lifts and the back rounds a little.
    const float lift = 6.0f * s;
    q.shoulder = {b.centre.x + b.trunkLength * 0.5f, b.centre.y - lift};
    q.hip = {b.centre.x - b.trunkLength * 0.5f, b.centre.y + lift * 0.3f};
    q.withers = {q.shoulder.x - b.chestRadius * 0.1f, q.shoulder.y - b.chestRadius * 0.55f};
    q.head = q.withers + Vec2{b.neckReach.x, b.neckReach.y - lift * 0.5f};
    q.tailRoot = {q.hip.x - b.haunchRadius * 0.75f, q.hip.y - b.haunchRadius * 0.55f};

    const Shape chest = Ellipse(q.shoulder, b.chestRadius * 0.98f, b.chestRadius * 1.04f);
    const Shape haunch =
        Ellipse(q.hip + Vec2{0, -b.haunchRadius * 0.06f}, b.haunchRadius * 1.05f, b.haunchRadius);
    // The belly line rises toward the flank.
    const float bellyY = b.centre.y + b.chestRadius - b.bellyRadius;
    const Shape belly =
        TaperedCapsule({q.hip.x + b.haunchRadius * 0.45f, bellyY - b.bellyRadius * 0.12f},
                       {q.shoulder.x - b.chestRadius * 0.3f, bellyY + b.bellyRadius * 0.06f},
                       b.bellyRadius * 0.9f, b.bellyRadius);
    const Shape back = Capsule(q.hip + Vec2{0, -b.haunchRadius * 0.35f},
                               q.shoulder + Vec2{0, -b.chestRadius * 0.35f}, b.bellyRadius * 0.9f);
    const Shape neck = TaperedCapsule(q.withers + Vec2{-b.neckRadius * 0.3f, b.neckRadius * 0.6f},
                                      q.head, b.neckRadius, b.headRadius);
    // Blend widths grow with the animal so that big bodies have no creases.
    const float k = b.chestRadius * 0.4f;
    q.trunk = SmoothUnion(
        SmoothUnion(SmoothUnion(chest, haunch, k * 1.2f), SmoothUnion(belly, back, k * 1.4f), k),
        neck, k);

    auto angles = [s](const std::array<float, 4>& a, const std::array<float, 4>& g, int i) {
        return Mix(a[i], g[i], s);
    };
    const Vec2 frontTop = q.shoulder + Vec2{b.chestRadius * 0.15f, b.chestRadius * 0.35f};
    const Vec2 hindTop = q.hip + Vec2{b.haunchRadius * 0.1f, b.haunchRadius * 0.3f};
    q.legs[0] = MakeLeg(b, frontTop + Vec2{-4, -2}, angles(b.frontStretched, b.frontGathered, 2),
                        angles(b.frontStretched, b.frontGathered, 3), true);
    q.legs[1] = MakeLeg(b, hindTop + Vec2{4, -2}, angles(b.hindStretched, b.hindGathered, 2),
                        angles(b.hindStretched, b.hindGathered, 3), true);
    q.legs[2] = MakeLeg(b, frontTop, angles(b.frontStretched, b.frontGathered, 0),
                        angles(b.frontStretched, b.frontGathered, 1), false);
    q.legs[3] = MakeLeg(b, hindTop, angles(b.hindStretched, b.hindGathered, 0),
                        angles(b.hindStretched, b.hindGathered, 1), false);
    return q;
}

Vec2 LegCoordinates(const Leg& leg, Vec2 p) {
    const float upper = Length(leg.joint - leg.top);
    const float lower = Length(leg.foot - leg.joint);
    const Vec2 u = (leg.joint - leg.top) * (1.0f / std::max(upper, 1e-3f));
    const Vec2 l = (leg.foot - leg.joint) * (1.0f / std::max(lower, 1e-3f));
    const float tu = Dot(p - leg.top, u);
    if (tu <= upper) {
        const Vec2 d = p - leg.top;
        return {tu / (upper + lower), d.x * -u.y + d.y * u.x};
    }
    const Vec2 d = p - leg.joint;
    return {(upper + Dot(d, l)) / (upper + lower), d.x * -l.y + d.y * l.x};
}

}  // namespace pictures
