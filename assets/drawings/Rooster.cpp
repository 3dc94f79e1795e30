// Cock1.dxf: a rooster standing, facing right: comb, wattle, neck hackles, wing, sickle tail
// feathers arching behind and two legs with spurs and toes.
#include <vector>

#include "assets/drawings/Drawings.h"

namespace drawings {
namespace {

void HeadAndBody(Drawing& d) {
    d.SetLayer("COMB");
    // Five rounded points from the back of the head to the beak.
    d.Curve({{112, 318},
             {104, 338},
             {116, 350},
             {126, 338},
             {130, 356},
             {142, 362},
             {148, 346},
             {156, 360},
             {168, 356},
             {168, 340},
             {178, 346},
             {184, 334},
             {174, 322},
             {160, 318}});
    d.SetLayer("HEAD");
    // Beak, open a little.
    d.Polyline({{170, 314}, {196, 302}, {172, 300}});
    d.Polyline({{172, 300}, {192, 296}, {168, 292}});
    d.Ellipse({150, 310}, 6, 6);
    d.Ellipse({151, 310}, 2, 2);
    // Wattle below the beak.
    d.Curve({{168, 292}, {172, 276}, {166, 258}, {156, 256}, {150, 268}, {152, 288}});
    // Ear lobe.
    d.Ellipse({138, 292}, 6, 8);
    // Head outline from comb to throat.
    d.Curve({{112, 318}, {124, 326}, {146, 324}, {162, 320}, {170, 314}});

    d.SetLayer("NECK");
    // Hackles: pointed feathers down the back of the neck onto the shoulders.
    d.Polyline({{112, 318},
                {100, 300},
                {106, 296},
                {92, 278},
                {100, 274},
                {84, 256},
                {94, 252},
                {78, 234},
                {90, 232},
                {76, 214},
                {92, 214},
                {82, 196},
                {102, 202},
                {98, 184}});
    d.Curve({{152, 270},
             {150, 250},
             {154, 232},
             {162, 210},
             {170, 186},
             {172, 158},
             {162, 128},
             {140, 102},
             {110, 88}});

    d.SetLayer("BODY");
    // Back to the tail, belly to the legs and up to the tail.
    d.Curve({{78, 214}, {54, 206}, {26, 200}, {0, 204}, {-20, 212}});
    d.Curve({{110, 88}, {80, 84}, {46, 92}, {14, 108}, {-12, 130}, {-30, 156}});
    // Folded wing: a rounded shoulder, a covert line, and flight feathers whose tips overlap
    // toward the back.
    d.Curve({{150, 190}, {124, 200}, {88, 196}, {52, 182}, {22, 158}, {4, 136}});
    d.Curve({{150, 190}, {154, 170}, {142, 152}, {120, 140}});
    d.Curve({{146, 176}, {118, 178}, {86, 170}, {60, 156}});
    const double tips[][2] = {{120, 140}, {94, 132}, {68, 128}, {42, 128}, {4, 136}};
    for (int i = 0; i + 1 < 5; ++i) {
        const double* a = tips[i];
        const double* b = tips[i + 1];
        // Each feather's lower edge dips below the line of tips, then its shaft runs up.
        d.Curve({{a[0], a[1]}, {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2 - 8}, {b[0], b[1]}});
        d.Curve({{b[0], b[1]}, {b[0] + 18, b[1] + 16}, {b[0] + 34, b[1] + 34}});
    }
}

void Tail(Drawing& d) {
    d.SetLayer("TAIL");
    // Sickle feathers: long arcs rising from the tail base and falling behind.
    d.Curve(
        {{-20, 212}, {-30, 270}, {-60, 320}, {-110, 340}, {-150, 318}, {-170, 270}, {-168, 220}});
    d.Curve({{-20, 212}, {-44, 262}, {-80, 296}, {-120, 302}, {-148, 274}, {-150, 236}});
    d.Curve({{-16, 190}, {-50, 240}, {-96, 262}, {-132, 246}, {-142, 206}});
    d.Curve({{-24, 176}, {-70, 206}, {-110, 212}, {-136, 186}, {-130, 150}});
    d.Curve({{-30, 156}, {-70, 172}, {-104, 166}, {-116, 136}, {-100, 106}});
    // Short covert feathers over the root of the tail.
    d.Curve({{-20, 212}, {-40, 222}, {-62, 218}, {-74, 200}});
    d.Curve({{-26, 190}, {-50, 198}, {-70, 186}, {-78, 168}});
    // Inner edges, so the two biggest read as feathers rather than wires.
    d.Curve(
        {{-12, 214}, {-20, 262}, {-50, 308}, {-100, 328}, {-140, 312}, {-158, 272}, {-168, 220}});
    d.Curve({{-130, 150}, {-122, 176}, {-104, 196}, {-70, 194}, {-24, 176}});
}

void Leg(Drawing& d, double x, double top) {
    d.SetLayer("LEGS");
    // Feathered thigh, then the scaly shank with its spur.
    d.Curve({{x - 20, top + 10},
             {x - 22, top - 12},
             {x - 10, top - 34},
             {x + 6, top - 34},
             {x + 18, top - 14},
             {x + 16, top + 8}});
    d.Polyline({{x - 6, top - 34}, {x - 5, 44}, {x - 14, 48}, {x - 5, 38}, {x - 4, 12}});
    d.Polyline({{x + 4, top - 34}, {x + 5, 12}});
    for (double y = 24; y < top - 40; y += 12)
        d.Line({x - 5, y}, {x + 5, y + 2});
    // Three toes forward, one back.
    d.Polyline({{x + 5, 12}, {x + 40, 2}, {x + 44, -3}, {x + 6, 4}});
    d.Polyline({{x + 2, 6}, {x + 26, -8}, {x + 26, -12}, {x - 2, 2}});
    d.Polyline({{x - 4, 12}, {x - 28, 4}, {x - 30, -1}, {x - 4, 4}});
}

}  // namespace

Drawing MakeRooster() {
    Drawing d;
    d.SetStep(7.0);
    HeadAndBody(d);
    Tail(d);
    Leg(d, 100, 92);
    Leg(d, 60, 96);
    d.SetLayer("GROUND");
    d.Line({-10, -12}, {170, -12});
    d.FitInto({130, 30}, {530, 450});
    return d;
}

}  // namespace drawings
