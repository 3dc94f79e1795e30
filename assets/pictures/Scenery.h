// Pieces of landscape that several pictures share: sky, clouds, sun, hills, grass.
#pragma once

#include "assets/pictures/Canvas.h"
#include "assets/pictures/Paint.h"

namespace pictures {

// Sky from value top at row 0 to value bottom at row horizon, with a faint noise so that
// large gradients do not band.
void DrawSky(Canvas& canvas, const Ramp& ramp, int horizon, float top, float bottom);
// A cumulus of overlapping puffs with a flat underside, width about w.
Shape CloudShape(Vec2 centre, float width, unsigned seed);
void DrawCloud(Canvas& canvas, const Shape& cloud, const Ramp& ramp);
// A halo around centre out to radius: strength(distance 0..1, angle degrees) in 0..1 picks
// both how often a pixel is covered (so the edge fades out in a dither) and its value.
void DrawHalo(Canvas& canvas, Vec2 centre, float radius, const Ramp& ramp,
              const std::function<float(float, float)>& strength);
// A sun disc with a dithered halo; rayPhase turns the rays (degrees).
void DrawSun(Canvas& canvas, Vec2 centre, float radius, const Ramp& ramp, float rayPhase);
// Rolling ground whose top follows base + amplitude * sin(x * frequency + phase).
Shape Hill(float base, float amplitude, float frequency, float phase, int width, int bottom);
// Textured ground fill: light from the top edge, darker lower down, with noise clumps.
void FillMeadow(Canvas& canvas, const Shape& ground, const Ramp& ramp, float top, float bottom,
                unsigned seed);
// A pointed leaf blade: the lens between two circles, from base toward angle degrees.
Shape LeafBlade(Vec2 base, float degrees, float length, float width);
// Shades a leaf with a light midrib and slanting veins.
void DrawLeafBlade(Canvas& canvas, Vec2 base, float degrees, float length, float width,
                   const Ramp& ramp, std::uint8_t outline, float brightness);
// Blades of grass rising from rows y0..y1, leaning with sway (pixels at the tip).
void DrawGrass(Canvas& canvas, const Ramp& ramp, int x0, int x1, int y0, int y1, int count,
               float sway, unsigned seed);

}  // namespace pictures
