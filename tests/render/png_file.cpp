// PNG reading through libpng for the tests.
#include "tests/render/png_file.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace render_testing {

PngFile ReadPng(const std::string& path) {
    PngFile result;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        result.error = path + ": cannot be opened";
        return result;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, &info, nullptr);
        result.error = "out of memory";
        return result;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        result.error = path + ": not a readable PNG";
        return result;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    result.width = static_cast<int>(png_get_image_width(png, info));
    result.height = static_cast<int>(png_get_image_height(png, info));
    result.bitDepth = png_get_bit_depth(png, info);
    result.colourType = png_get_color_type(png, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) != 0) {
        for (int i = 0; i < count; ++i)
            result.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
    }
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (result.bitDepth != 8 || rowBytes != static_cast<std::size_t>(result.width)) {
        png_destroy_read_struct(&png, &info, nullptr);
        result.error = path + ": not one byte per pixel";
        return result;
    }
    result.pixels.resize(rowBytes * static_cast<std::size_t>(result.height));
    for (int y = 0; y < result.height; ++y)
        png_read_row(png, result.pixels.data() + rowBytes * static_cast<std::size_t>(y), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

bool RowIsOneValue(const PngFile& png, int y, int toX) {
    for (int x = 1; x <= toX; ++x) {
        if (png.At(x, y) != png.At(0, y))
            return false;
    }
    return true;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace render_testing
