// A PNG of every frame of every picture, each shown through its own palette.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "assets/pictures/PictureSet.h"

namespace pictures {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top row first
};

// Backdrops two frames to a row, actors six to a row, the leaf at 1x and 4x.
RgbImage RenderContactSheet(const std::vector<Picture>& pictures);
bool WritePng(const RgbImage& image, const std::string& file, std::ostream& errors);

}  // namespace pictures
