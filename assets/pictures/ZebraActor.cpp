// Actor of the fourth scene: a zebra galloping over the savannah, from a stretched stride
// (frame 0) to legs gathered under it (frame 5).
#include <cmath>

#include "assets/pictures/Art.h"
#include "assets/pictures/Equine.h"
#include "assets/pictures/Noise.h"
#include "assets/pictures/Scenery.h"

namespace pictures {

namespace {

QuadrupedBuild ZebraBuild(float bob) {
    QuadrupedBuild b;
    b.centre = {106, 94 + bob};
    b.trunkLength = 58;
    b.chestRadius = 23;
    b.haunchRadius = 24;
    b.bellyRadius = 18;
    b.upperLeg = 24;
    b.lowerLeg = 28;
    b.legRadius = 8;
    b.footRadius = 3.6f;
    b.neckReach = {24, -30};
    b.neckRadius = 12;
    b.headRadius = 9.0f;
    b.frontStretched = {48, 78, 38, 62};
    b.frontGathered = {22, -52, 8, -30};
    b.hindStretched = {-34, -68, -24, -52};
    b.hindGathered = {36, -6, 24, 4};
    return b;
}

// Black and white bands: upright on the barrel, bending round the haunch, across the legs.
float StripePhase(CoatRegion region, Vec2 local, const QuadrupedBuild& b) {
    switch (region) {
        case CoatRegion::Body: {
            const Vec2 rump{b.centre.x - b.trunkLength * 0.25f, b.centre.y - 12.0f};
            const float front =
                (local.x - b.centre.x) / 8.5f + 0.15f * std::sin((local.y - b.centre.y) / 9.0f);
            const float back = Length(local - rump) / 7.5f;
            const float w = std::clamp((rump.x + 6.0f - local.x) / 14.0f, 0.0f, 1.0f);
            return front * (1.0f - w) + back * w;
        }
        case CoatRegion::Neck:
            return local.x / 7.0f;
        case CoatRegion::Head:
            return local.x < 0.0f ? 0.5f : local.x / 5.0f + 0.2f * local.y / 5.0f;
        case CoatRegion::Leg:
            return local.x * 9.0f;
    }
    return 0.0f;
}

Canvas DrawFrame(const CommonInks& k, int frame) {
    Canvas c(kActorWidth, kActorHeight);
    DrawSky(c, k.sky, 118, 0.3f, 0.95f);
    // Far acacia on the horizon.
    FillMeadow(c, Hill(112, 3, 0.04f, 0.5f, kActorWidth, kActorHeight), k.tan, 108, 180, 81);
    Style flat;
    flat.outline = 0.0f;
    FillShape(c, Capsule({196, 112}, {198, 96}, 1.5f), k.brown, flat, 0.0f, 0.3f);
    FillShape(c, Roughen(Ellipse({198, 92}, 22, 5), 1.5f, 3.0f, 4), k.green, flat, 0.0f, 0.22f);
    DrawGrass(c, k.tan, 0, kActorWidth, 120, kActorHeight, 90, 2.0f, 82);

    const float stride = static_cast<float>(frame) / (kActorFrames - 1);
    const float bob = -4.0f * std::sin(stride * 3.14159f);
    const QuadrupedBuild b = ZebraBuild(bob);
    // Shadow on the ground.
    FillShape(c, Ellipse({110, 156}, 62, 6), k.tan, flat, 0.0f, 0.1f);

    EquineLook look;
    look.coat = [&](const Surfel& f, CoatRegion region, Vec2 local, bool far) {
        const float phase = StripePhase(region, local, b);
        const float band = std::sin(phase * 3.14159f);
        const float belly = region == CoatRegion::Body ? (f.y - b.centre.y) / 30.0f : 0.0f;
        const bool dark = band > (region == CoatRegion::Leg ? 0.1f : -0.05f + belly * 0.6f);
        const float shade = far ? -0.25f : 0.0f;
        if (dark) {
            c.Shade(f.x, f.y, k.neutral, f.light * 0.12f + shade * 0.2f);
        } else {
            c.Shade(f.x, f.y, k.neutral, 0.48f + f.light * 0.55f + shade);
        }
    };
    look.mane = &k.neutral;
    look.hoof = &k.neutral;
    look.muzzle = &k.neutral;
    look.ink = k.ink;
    look.eyeGlint = k.neutral.Brightest();
    look.uprightMane = true;
    look.tuftedTail = true;
    look.headLength = 33.0f;
    look.wind = 0.3f + 0.3f * stride;
    DrawEquine(c, b, stride, look);
    return c;
}

}  // namespace

std::vector<Canvas> DrawZebraActor(const CommonInks& inks) {
    std::vector<Canvas> frames;
    for (int i = 0; i < kActorFrames; ++i) {
        frames.push_back(DrawFrame(inks, i));
    }
    return frames;
}

}  // namespace pictures
