// The nine pictures of the data pack, assembled into tile sheets with their palettes.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "assets/pictures/Colour.h"

namespace pictures {

struct Picture {
    std::string fileName;
    int width = 0;
    int height = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    int tileCount = 0;
    std::vector<std::uint8_t> pixels;  // top row first
    Palette palette{};
};

// Backdrops of scenes 0..3, actors of scenes 0..3, then the leaf.
std::vector<Picture> MakePictures();
std::vector<std::uint8_t> EncodePicture(const Picture& picture);
// Writes every picture into the folder; on failure prints one line naming the file.
bool WritePictures(const std::vector<Picture>& pictures, const std::string& folder,
                   std::ostream& errors);

}  // namespace pictures
