// Actor of the first scene: a bluebird with an orange breast flapping across a morning sky.
// Frame 0 has the wings fully up, frame 5 fully down; played back and forth it flaps.
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

// One wing from the shoulder toward angle degrees (screen angles: 0 right, 90 down).
Shape WingShape(Vec2 shoulder, float angle, float length) {
    std::vector<Shape> parts;
    const Vec2 dir = Polar({0, 0}, angle, 1.0f);
    // Coverts: the broad inner part.
    parts.push_back(Ellipse(shoulder + dir * (length * 0.3f), length * 0.34f, 15, angle));
    // Primaries fan out behind the leading edge, toward the tail.
    for (int i = 0; i < 5; ++i) {
        // Fan toward the trailing edge, which faces the tail.
        const float toTail = angle > -180.0f ? -1.0f : 1.0f;
        const float a = angle + toTail * (6.0f + i * 9.0f);
        const float reach = length * (0.98f - i * 0.09f);
        const Vec2 mid = shoulder + Polar({0, 0}, a, reach * 0.58f);
        parts.push_back(Ellipse(mid, reach * 0.44f, 6.5f, a));
    }
    return Union(parts);
}

void DrawWing(Canvas& c, const CommonInks& k, Vec2 shoulder, float angle, float length, bool far) {
    const Shape wing = WingShape(shoulder, angle, length);
    Style st;
    st.bevel = 9.0f;
    st.outlineIndex = k.ink;
    st.outline = 1.2f;
    const Vec2 dir = Polar({0, 0}, angle, 1.0f);
    PaintShape(c, wing, st, [&](const Surfel& f) {
        const Vec2 p{static_cast<float>(f.x), static_cast<float>(f.y)};
        const float along = Dot(p - shoulder, dir) / length;
        // Inner wing bright blue, feather tips dark.
        const float v = f.light * (1.0f - 0.4f * along) - (far ? 0.3f : 0.0f);
        c.Shade(f.x, f.y, k.blue, v);
    });
}

Canvas DrawFrame(const CommonInks& k, int frame) {
    Canvas c(kActorWidth, kActorHeight);
    DrawSky(c, k.sky, kActorHeight, 0.25f, 0.95f);
    DrawCloud(c, CloudShape({44, 150}, 70, 21), k.neutral);
    DrawCloud(c, CloudShape({200, 40}, 54, 22), k.neutral);

    const float t = static_cast<float>(frame) / (kActorFrames - 1);
    const float wingAngle = -108.0f - 144.0f * t;  // up, back over the tail, down
    // The body rises as the wings beat down.
    const float bob = -5.0f * std::sin(t * 3.14159f) + 3.0f * (1.0f - t);
    const Vec2 body{118, 98 + bob};
    const Vec2 head{162, 80 + bob};
    const Vec2 shoulder{126, 86 + bob};
    const float span = 78.0f * (0.72f + 0.28f * std::abs(std::sin(wingAngle * 3.14159f / 180.0f)));

    DrawWing(c, k, shoulder + Vec2{8, -3}, wingAngle - 10.0f, span * 0.92f, true);

    Style st;
    st.bevel = 18.0f;
    st.outlineIndex = k.ink;
    st.outline = 1.2f;
    // Tail fan.
    std::vector<Shape> tail;
    for (int i = -1; i <= 1; ++i) {
        tail.push_back(
            Ellipse(Polar({80, 102 + bob}, 180.0f + i * 12.0f, 22), 26, 7, 180.0f + i * 12.0f));
    }
    FillShape(c, Union(tail), k.blue, st, 0.75f);
    const Shape torso = SmoothUnion(Ellipse(body, 44, 24, -12.0f), Circle(head, 19), 12.0f);
    PaintShape(c, torso, st, [&](const Surfel& f) {
        // Orange breast below a line from throat to belly, blue above.
        const float fx = static_cast<float>(f.x);
        const float fy = static_cast<float>(f.y);
        const float below = (fy - (body.y + 2)) + (fx - body.x) * 0.55f;
        if (below > 0.0f && fx > body.x - 8) {
            c.Shade(f.x, f.y, k.orange, f.light * 0.85f + 0.1f);
        } else if (below > 4.0f) {
            c.Shade(f.x, f.y, k.neutral, f.light * 0.5f + 0.48f);
        } else {
            c.Shade(f.x, f.y, k.blue, f.light * 0.8f - 0.02f);
        }
    });
    // Beak, eye.
    Style beak;
    beak.bevel = 4.0f;
    beak.outlineIndex = k.ink;
    FillShape(
        c,
        Polygon({{head.x + 14, head.y - 6}, {head.x + 34, head.y + 2}, {head.x + 14, head.y + 7}}),
        k.gold, beak);
    FillFlat(c, Circle({head.x + 7, head.y - 4}, 4.0f), k.ink);
    FillFlat(c, Circle({head.x + 8, head.y - 5.5f}, 1.3f), k.neutral.Brightest());
    // Little feet tucked under.
    Style foot;
    foot.bevel = 2.0f;
    foot.outlineIndex = k.ink;
    FillShape(c, Capsule({112, 120 + bob}, {102, 128 + bob}, 2.0f), k.tan, foot);

    DrawWing(c, k, shoulder, wingAngle, span, false);
    return c;
}

}  // namespace

std::vector<Canvas> DrawBirdActor(const CommonInks& inks) {
    std::vector<Canvas> frames;
    for (int i = 0; i < kActorFrames; ++i) {
        frames.push_back(DrawFrame(inks, i));
    }
    return frames;
}

}  // namespace pictures
