// Effect pictures as indexed PNG files, through the host kit's writer.
#include "tests/effects/pictures/indexed_png.h"

#include <cstdio>

#include "hostkit/desktop/picture_file.h"

namespace effect_pictures {
namespace {

std::uint8_t Spread(int value, int maximum) {
    return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

}  // namespace

Palette ColourCubePalette() {
    Palette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[i] = Rgb{Spread(i >> 5, 7), Spread((i >> 2) & 7, 7), Spread(i & 3, 3)};
    }
    return palette;
}

bool WriteIndexedPng(const std::string& path, const std::vector<std::uint8_t>& pixels, int width,
                     int height, const Palette& palette) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        std::fprintf(stderr, "%s: picture size does not match its pixels\n", path.c_str());
        return false;
    }
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {palette[i].red, palette[i].green, palette[i].blue, 0};
    const std::string error =
        hostkit::WriteIndexedPngFile(path, pixels.data(), width, width, height, entries);
    if (!error.empty())
        std::fprintf(stderr, "%s\n", error.c_str());
    return error.empty();
}

}  // namespace effect_pictures
