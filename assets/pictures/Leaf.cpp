// The tree's leaf: 32x32, hanging from its stalk at (8, 8), where the tree places the branch
// point; index 0 around it is transparent.
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Paint.h"

namespace pictures {

Canvas DrawLeaf(const CommonInks& k) {
    Canvas c(kLeafSize, kLeafSize, 0);
    const Vec2 stalk{6.5f, 6.5f};
    const Vec2 base{10.0f, 10.5f};
    const Vec2 tip{30.0f, 29.5f};
    const Vec2 axis = tip - base;
    const float length = Length(axis);
    const Vec2 dir = axis * (1.0f / length);
    // Pointed blade: the lens between two overlapping circles.
    const float half = length * 0.5f;
    const float width = 6.5f;
    const float radius = (half * half + width * width) / (2.0f * width);
    const Vec2 side{-dir.y * (radius - width), dir.x * (radius - width)};
    const Vec2 middle = base + axis * 0.5f;
    const Shape blade = Intersect(Circle(middle + side, radius), Circle(middle - side, radius));
    Style st;
    st.bevel = 6.0f;
    st.outlineIndex = k.green[1];
    PaintShape(c, blade, st, [&](const Surfel& f) {
        const Vec2 q = Vec2{f.x + 0.5f, f.y + 0.5f} - base;
        const float along = Dot(q, dir);
        const float across = q.x * -dir.y + q.y * dir.x;
        // Midrib and side veins slanting toward the tip.
        const bool rib = std::abs(across) < 0.8f && along < length - 3.0f;
        const float veinPhase = std::fmod(along - std::abs(across) * 0.9f + 40.0f, 5.0f);
        const bool vein = veinPhase < 0.9f && std::abs(across) > 1.5f;
        float v = f.light * 0.9f + 0.08f;
        if (rib) {
            v = 0.92f;
        } else if (vein) {
            v -= 0.16f;
        }
        c.Shade(f.x, f.y, k.green, v);
    });
    Style stem;
    stem.bevel = 1.0f;
    stem.outline = 0.0f;
    FillShape(c, Capsule(stalk, base + dir * 2.0f, 1.2f), k.brown, stem, 0.6f, 0.25f);
    return c;
}

}  // namespace pictures
