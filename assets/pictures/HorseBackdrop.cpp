// Backdrop of the fourth scene: a chestnut horse galloping across a meadow at sunset.
// Frame 0 is the stretched stride, frame 1 the legs gathered.
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Equine.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

struct HorseInks {
    Ramp sunset, sun, mountain, hill, meadow, coat, mane, cloud, fence;
};

HorseInks AddHorseInks(PaletteBuilder& b) {
    const Block s = Block::Scene;
    HorseInks k;
    k.sunset = b.Add(
        s, Gradient({{46, 34, 98}, {120, 60, 128}, {214, 96, 110}, {250, 154, 80}, {255, 222, 150}},
                    22));
    k.sun = b.Add(s, Gradient({{255, 170, 70}, {255, 220, 130}, {255, 250, 220}}, 8));
    k.mountain = b.Add(s, Gradient({{70, 48, 100}, {128, 84, 136}, {186, 126, 156}}, 10));
    k.hill = b.Add(s, Gradient({{36, 40, 52}, {72, 70, 70}, {122, 100, 76}}, 10));
    k.meadow =
        b.Add(s, Gradient({{30, 44, 20}, {80, 96, 30}, {160, 150, 50}, {232, 198, 100}}, 18));
    k.coat = b.Add(
        s, Gradient({{44, 20, 12}, {104, 48, 20}, {168, 86, 36}, {218, 136, 72}, {248, 196, 140}},
                    20));
    k.mane = b.Add(s, Gradient({{18, 10, 10}, {52, 30, 24}, {100, 64, 44}}, 9));
    k.cloud = b.Add(s, Gradient({{120, 70, 120}, {220, 120, 120}, {255, 190, 140}}, 10));
    k.fence = b.Add(s, Gradient({{40, 28, 24}, {96, 66, 48}, {160, 118, 82}}, 8));
    b.FillRest(s, {{90, 40, 70}, {200, 120, 90}, {255, 240, 210}});
    return k;
}

QuadrupedBuild HorseBuild(float bob) {
    QuadrupedBuild b;
    b.centre = {296, 266 + bob};
    b.trunkLength = 156;
    b.chestRadius = 52;
    b.haunchRadius = 56;
    b.bellyRadius = 34;
    b.upperLeg = 70;
    b.lowerLeg = 82;
    b.legRadius = 23;
    b.footRadius = 8.5f;
    b.neckReach = {64, -82};
    b.neckRadius = 30;
    b.headRadius = 21;
    b.frontStretched = {48, 80, 36, 64};
    b.frontGathered = {22, -54, 8, -30};
    b.hindStretched = {-34, -70, -24, -54};
    b.hindGathered = {36, -8, 24, 4};
    return b;
}

void DrawFence(Canvas& c, const HorseInks& k) {
    Style st;
    st.bevel = 3.0f;
    st.outlineIndex = k.fence.Darkest();
    for (int i = 0; i < 9; ++i) {
        const float x = 20.0f + i * 80.0f;
        FillShape(c, Capsule({x, 318}, {x, 360}, 4.5f), k.fence, st, 0.8f);
    }
    FillShape(c, Capsule({0, 328}, {640, 324}, 3.0f), k.fence, st, 0.8f);
    FillShape(c, Capsule({0, 346}, {640, 343}, 3.0f), k.fence, st, 0.8f);
}

Canvas DrawFrame(const HorseInks& k, const CommonInks& common, int phase) {
    Canvas c(kBackdropWidth, kBackdropHeight);
    DrawSky(c, k.sunset, 290, 0.0f, 1.0f);
    DrawSun(c, {470, 250}, 44, k.sun, phase * 10.0f);
    const float drift = phase * 6.0f;
    for (int i = 0; i < 4; ++i) {
        const Shape streak = Ellipse({90.0f + i * 150.0f + drift, 70.0f + (i % 2) * 50.0f},
                                     90.0f - i * 6.0f, 8, 2.0f);
        Style st;
        st.outline = 0.0f;
        st.bevel = 6.0f;
        FillShape(c, Roughen(streak, 3.0f, 9.0f, 40 + i), k.cloud, st, 0.7f, 0.2f);
    }
    Style flat;
    flat.outline = 0.0f;
    flat.bevel = 30.0f;
    FillShape(c, Hill(236, 30, 0.009f, 2.5f, 640, 480), k.mountain, flat, 0.7f, 0.0f);
    FillShape(c, Hill(276, 12, 0.014f, 0.4f, 640, 480), k.hill, flat, 0.7f, 0.05f);
    FillMeadow(c, Hill(300, 4, 0.02f, 1.0f, 640, 480), k.meadow, 290, 480, 71);
    DrawFence(c, k);
    DrawGrass(c, k.meadow, 0, 640, 310, 480, 460, 4.0f, 72);

    const float stride = static_cast<float>(phase);
    const QuadrupedBuild b = HorseBuild(phase == 0 ? 0.0f : -10.0f);
    FillShape(c, Ellipse({290, 458}, 150, 12), k.meadow, flat, 0.0f, 0.06f);

    const Vec2 shoulderMuscle{b.centre.x + b.trunkLength * 0.42f, b.centre.y - 6.0f};
    const Vec2 haunchMuscle{b.centre.x - b.trunkLength * 0.42f, b.centre.y - 10.0f};
    EquineLook look;
    look.coat = [&](const Surfel& f, CoatRegion region, Vec2 local, bool far) {
        float v = f.light * 0.92f + (far ? -0.22f : 0.0f);
        // A white blaze down the face and white socks on the near hind leg.
        if (region == CoatRegion::Head && local.x > 4.0f && std::abs(local.y) < 5.0f) {
            c.Shade(f.x, f.y, common.neutral, 0.55f + f.light * 0.45f);
            return;
        }
        // Muscles: the shoulder and the hindquarters catch the light as their own bulges.
        if (region == CoatRegion::Body) {
            const Vec2 p{f.x + 0.5f, f.y + 0.5f};
            for (const Vec2 m : {shoulderMuscle, haunchMuscle}) {
                const Vec2 d = (p - m) * (1.0f / 46.0f);
                const float r2 = d.x * d.x + d.y * d.y;
                if (r2 < 1.0f) {
                    const float lit = -(d.x * 0.48f + d.y * 0.58f);  // toward the upper left
                    v += (lit * 0.22f + 0.04f) * (1.0f - r2);
                }
            }
        }
        c.Shade(f.x, f.y, k.coat, v);
    };
    look.mane = &k.mane;
    look.hoof = &k.mane;
    look.muzzle = &k.mane;
    look.ink = k.mane.Darkest();
    look.eyeGlint = common.neutral.Brightest();
    look.uprightMane = false;
    look.tuftedTail = false;
    look.headLength = 80.0f;
    look.wind = phase == 0 ? 0.7f : 0.45f;
    DrawEquine(c, b, stride, look);
    DrawGrass(c, k.meadow, 0, 640, 452, 480, 120, 4.0f, 73);
    return c;
}

}  // namespace

std::vector<Canvas> DrawHorseBackdrop(PaletteBuilder& builder, const CommonInks& inks) {
    const HorseInks k = AddHorseInks(builder);
    return {DrawFrame(k, inks, 0), DrawFrame(k, inks, 1)};
}

}  // namespace pictures
