// Painting shapes onto a canvas: soft light from the upper left, an outline, dithered ramps.
#pragma once

#include <functional>

#include "assets/pictures/Canvas.h"
#include "assets/pictures/Shape.h"

namespace pictures {

struct Style {
    float bevel = 10.0f;    // how far in from the edge the surface still curves, in pixels
    float ambient = 0.28f;  // value of a surface facing away from the light
    float diffuse = 0.72f;  // added for a surface facing the light
    float outline = 1.0f;   // outline width in pixels; 0 for none
    int outlineIndex = -1;  // palette index of the outline; -1 uses the ramp's darkest entry
    // Lights the surface as if it had this smoother outline (for fur and fluff); null: itself.
    const Shape* lightShape = nullptr;
};

// What a painter is told about one covered pixel.
struct Surfel {
    int x;
    int y;
    float light;  // 0..1 with the style's ambient and diffuse
    float depth;  // distance inside the edge, in pixels
};

// Calls paint for every pixel inside the shape, after drawing the outline.
void PaintShape(Canvas& canvas, const Shape& shape, const Style& style,
                const std::function<void(const Surfel&)>& paint);
// Fills with the ramp, shaded by the light (value = light * gain + offset).
void FillShape(Canvas& canvas, const Shape& shape, const Ramp& ramp, const Style& style,
               float gain = 1.0f, float offset = 0.0f);
// A flat, unlit fill with one index.
void FillFlat(Canvas& canvas, const Shape& shape, std::uint8_t index);
// Vertical gradient over rows y0..y1 (exclusive) from value v0 to v1.
void FillRows(Canvas& canvas, const Ramp& ramp, int y0, int y1, float v0, float v1);

}  // namespace pictures
