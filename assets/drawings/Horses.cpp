// Horses1.dxf: two horses standing nose to nose, each with mane, tail and four legs.
#include <vector>

#include "assets/drawings/Drawings.h"

namespace drawings {
namespace {

void HeadAndNeck(Drawing& d) {
    d.SetLayer("HORSE");
    // Two ears, forehead, face and muzzle, lips, chin and the round jowl to the throat.
    d.Polyline({{220, 238}, {222, 256}, {230, 240}});
    d.Polyline({{214, 236}, {214, 252}, {220, 240}});
    d.Curve({{230, 240},
             {242, 226},
             {254, 208},
             {266, 186},
             {276, 164},
             {284, 148},
             {286, 138},
             {280, 130}});
    d.Curve({{280, 130}, {270, 128}, {262, 136}, {252, 146}, {238, 154}, {226, 164}, {218, 180}});
    // Crest of the neck to the withers; the underside of the neck leans forward to the throat.
    d.Curve({{214, 236}, {206, 226}, {190, 208}, {166, 188}, {138, 172}, {110, 164}});
    d.Curve({{218, 180}, {210, 160}, {204, 142}, {198, 128}});
    // Eye, nostril, mouth and the cheek bone.
    d.SetLayer("DETAIL");
    d.Curve({{244, 212}, {250, 216}, {256, 212}, {250, 209}, {244, 212}});
    d.Curve({{274, 150}, {278, 156}, {282, 150}});
    d.Line({282, 136}, {270, 134});
    d.Curve({{226, 196}, {234, 182}, {250, 176}, {262, 170}});

    d.SetLayer("MANE");
    // The mane lies along the crest and hangs a little down the near side in locks.
    d.Curve({{222, 236}, {230, 226}, {236, 220}});  // forelock
    d.Polyline({{212, 230},
                {204, 212},
                {198, 218},
                {190, 198},
                {184, 204},
                {174, 186},
                {168, 192},
                {156, 176},
                {150, 182},
                {138, 168},
                {128, 172},
                {118, 164}});
}

void BodyAndLegs(Drawing& d) {
    d.SetLayer("HORSE");
    // Back, croup and the tail root.
    d.Curve({{110, 164}, {84, 158}, {56, 160}, {30, 166}, {10, 162}, {0, 152}});
    // Hindquarters and the near hind leg with its hock.
    d.Curve({{0, 152},
             {-6, 132},
             {-2, 112},
             {8, 98},
             {12, 82},
             {6, 62},
             {10, 48},
             {12, 24},
             {10, 12},
             {6, 0}});
    d.Polyline({{6, 0}, {30, 0}, {27, 12}});
    d.Curve({{27, 12}, {24, 24}, {23, 44}, {28, 62}, {36, 82}, {48, 98}, {62, 106}});
    // Belly and the near foreleg with its knee.
    d.Curve({{62, 106}, {92, 100}, {124, 100}, {150, 104}});
    d.Curve({{150, 104}, {154, 90}, {156, 68}, {154, 52}, {155, 24}, {153, 12}, {150, 0}});
    d.Polyline({{150, 0}, {174, 0}, {171, 12}});
    d.Curve({{171, 12}, {169, 24}, {170, 52}, {174, 74}, {180, 94}, {190, 110}, {198, 128}});

    d.SetLayer("FARLEGS");
    // The far legs show below the belly, a step behind and a step ahead.
    d.Curve({{118, 100}, {120, 66}, {124, 50}, {122, 24}, {120, 12}, {116, 0}});
    d.Polyline({{116, 0}, {138, 0}, {136, 12}});
    d.Curve({{136, 12}, {136, 24}, {137, 50}, {138, 66}, {140, 102}});
    d.Curve({{46, 98}, {50, 80}, {46, 62}, {50, 46}, {51, 24}, {50, 12}, {46, 0}});
    d.Polyline({{46, 0}, {70, 0}, {68, 12}});
    d.Curve({{68, 12}, {65, 24}, {64, 44}, {68, 62}, {72, 80}, {74, 102}});

    d.SetLayer("DETAIL");
    d.Curve({{188, 156}, {172, 130}, {166, 106}});  // shoulder
    d.Curve({{16, 150}, {32, 128}, {44, 104}});     // haunch
    for (const auto& [x1, x2] : {std::pair{8.0, 28.0}, std::pair{151.0, 172.0},
                                 std::pair{117.0, 137.0}, std::pair{47.0, 69.0}}) {
        d.Line({x1 + 2, 12}, {x2 - 1, 12});  // coronet above each hoof
    }

    d.SetLayer("TAIL");
    d.Curve({{0, 152}, {-16, 140}, {-26, 112}, {-30, 82}, {-26, 50}});
    d.Curve({{-2, 144}, {-14, 118}, {-18, 88}, {-14, 58}});
    d.Curve({{2, 140}, {-6, 116}, {-4, 92}, {-20, 66}});
}

void Horse(Drawing& d) {
    HeadAndNeck(d);
    BodyAndLegs(d);
}

}  // namespace

Drawing MakeHorses() {
    Drawing d;
    d.SetStep(8.0);
    Horse(d);
    // The second horse faces the first, a little smaller as if a step farther away.
    d.SetPlacement({-0.94, 0.94, 586.0, 10.0});
    Horse(d);
    d.SetPlacement({});
    d.SetLayer("GROUND");
    d.Line({-50, 0}, {630, 0});
    d.FitInto({20, 70}, {620, 410});
    return d;
}

}  // namespace drawings
