// The indexed PNG writer: one palette chunk of 256 entries and 8-bit index rows.
#include "tests/effects/pictures/indexed_png.h"

#include <png.h>

#include <cstdio>
#include <memory>

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
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         std::fclose);
    if (!file) {
        std::fprintf(stderr, "%s: cannot open for writing\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::fprintf(stderr, "%s: libpng could not start\n", path.c_str());
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fprintf(stderr, "%s: libpng failed while writing\n", path.c_str());
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
    }
    png_set_PLTE(png, info, entries, 256);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, pixels.data() + static_cast<std::size_t>(y) * width);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace effect_pictures
