// A four-legged animal seen from the side, facing right: trunk, neck and jointed legs posed
// between a stretched stride and legs gathered under the body. Heads, tails and coats are
// the species' own.
#pragma once

#include <array>
#include <functional>

#include "assets/pictures/Paint.h"

namespace pictures {

struct QuadrupedBuild {
    Vec2 centre;        // middle of the trunk
    float trunkLength;  // shoulder to hip
    float chestRadius;
    float haunchRadius;
    float bellyRadius;
    float upperLeg;
    float lowerLeg;
    float legRadius;   // at the top of the leg
    float footRadius;  // at the foot
    Vec2 neckReach;    // from the withers to the base of the head
    float neckRadius;
    float headRadius;  // neck radius where it meets the head
    // Joint angles in degrees from straight down, positive toward the front:
    // upper and lower segment of front and hind legs, stretched and gathered.
    std::array<float, 4> frontStretched;  // upper, lower; then far leg upper, lower
    std::array<float, 4> frontGathered;
    std::array<float, 4> hindStretched;
    std::array<float, 4> hindGathered;
};

struct Leg {
    Shape shape;
    Vec2 top;
    Vec2 joint;
    Vec2 foot;
    bool far;
};

struct QuadrupedPose {
    Shape trunk;  // chest, belly, haunch and neck as one outline
    Vec2 shoulder;
    Vec2 hip;
    Vec2 withers;
    Vec2 head;  // where the neck meets the head
    Vec2 tailRoot;
    std::array<Leg, 4> legs;  // far front, far hind, near front, near hind
};

// stride: 0 stretched out, 1 gathered under the body.
QuadrupedPose PoseQuadruped(const QuadrupedBuild& build, float stride);

// Position of p along the leg (0 at the top, 1 at the foot) and across it, in pixels.
Vec2 LegCoordinates(const Leg& leg, Vec2 p);

}  // namespace pictures
