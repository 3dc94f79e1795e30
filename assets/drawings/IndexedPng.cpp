// PNG output of an indexed image through libpng.
#include "assets/drawings/IndexedPng.h"

#include <png.h>

#include <cstdio>
#include <ostream>

namespace drawings {

bool WriteIndexedPng(const IndexedImage& image, const std::string& file, std::ostream& errors) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        errors << file << ": cannot open for writing\n";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        errors << file << ": PNG encoding failed\n";
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {image.palette[i][0], image.palette[i][1], image.palette[i][2]};
    }
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * image.width);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

}  // namespace drawings
