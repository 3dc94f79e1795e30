// Contact sheet layout and PNG output.
#include "assets/pictures/ContactSheet.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace pictures {

namespace {

constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr Rgb kBackground{48, 48, 56};

struct Placement {
    const Picture* picture;
    int tile;
    int x;
    int y;
    int scale;
};

void Draw(RgbImage& image, const Placement& p) {
    const Picture& pic = *p.picture;
    const int perRow = pic.width / pic.tileWidth;
    const int sx0 = (p.tile % perRow) * pic.tileWidth;
    const int sy0 = (p.tile / perRow) * pic.tileHeight;
    for (int y = 0; y < pic.tileHeight * p.scale; ++y) {
        for (int x = 0; x < pic.tileWidth * p.scale; ++x) {
            const std::size_t src = static_cast<std::size_t>(sy0 + y / p.scale) * pic.width +
                                    static_cast<std::size_t>(sx0 + x / p.scale);
            const std::size_t dst =
                static_cast<std::size_t>(p.y + y) * image.width + static_cast<std::size_t>(p.x + x);
            image.pixels[dst] = pic.palette[pic.pixels[src]];
        }
    }
}

}  // namespace

RgbImage RenderContactSheet(const std::vector<Picture>& pictures) {
    std::vector<Placement> places;
    int y = kMargin;
    int width = 0;
    for (const Picture& pic : pictures) {
        const int scales = pic.tileCount == 1 ? 2 : 1;
        int x = kMargin;
        int rowHeight = 0;
        for (int s = 0; s < scales; ++s) {
            const int scale = s == 0 ? 1 : 4;
            for (int t = 0; t < pic.tileCount; ++t) {
                places.push_back({&pic, t, x, y, scale});
                x += pic.tileWidth * scale + kGap;
                rowHeight = std::max(rowHeight, pic.tileHeight * scale);
            }
        }
        width = std::max(width, x - kGap + kMargin);
        y += rowHeight + kGap;
    }
    RgbImage image;
    image.width = width;
    image.height = y - kGap + kMargin;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, kBackground);
    for (const Placement& p : places) {
        Draw(image, p);
    }
    return image;
}

bool WritePng(const RgbImage& image, const std::string& file, std::ostream& errors) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) {
        errors << file << ": cannot open for writing\n";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        errors << file << ": PNG encoding failed\n";
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            row[static_cast<std::size_t>(x) * 3] = c.r;
            row[static_cast<std::size_t>(x) * 3 + 1] = c.g;
            row[static_cast<std::size_t>(x) * 3 + 2] = c.b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool closed = std::fclose(f) == 0;
    if (!closed) {
        errors << file << ": cannot finish writing\n";
    }
    return closed;
}

}  // namespace pictures
