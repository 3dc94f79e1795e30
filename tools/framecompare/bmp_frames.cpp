// BMP files through the platform's decoder, and photographs as PNG.
#include "tools/framecompare/bmp_frames.h"

#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "platform/bmp_decoder.h"
#include "hostkit/desktop/picture_file.h"

namespace framecompare {
namespace {

bool Decode(const std::string& path, platform::DecodedBmp* image, std::string* error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > platform::kMaxBmpFileBytes) {
        *error = path + ": too large for a frame";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    platform::BmpDecodeResult decoded = platform::DecodeBmp(bytes);
    if (!decoded.ok()) {
        *error = path + ": " + decoded.error;
        return false;
    }
    *image = std::move(decoded.image);
    return true;
}

}  // namespace

bool ReadIndexedFrame(const std::string& path, hostkit::IndexedFrame* frame, std::string* error) {
    platform::DecodedBmp image;
    if (!Decode(path, &image, error))
        return false;
    if (!image.indexed) {
        *error = path + ": not an indexed picture (" + std::to_string(image.bitsPerPixel) +
                 " bits per pixel)";
        return false;
    }
    frame->width = image.width;
    frame->height = image.height;
    frame->indices = std::move(image.pixels);
    frame->palette = {};
    for (std::size_t i = 0; i < image.colours.size() && i < frame->palette.size(); ++i) {
        frame->palette[i] = {image.colours[i].red, image.colours[i].green, image.colours[i].blue};
    }
    return true;
}

bool ReadColourImage(const std::string& path, hostkit::RgbImage* image, std::string* error) {
    platform::DecodedBmp decoded;
    if (!Decode(path, &decoded, error))
        return false;
    image->width = decoded.width;
    image->height = decoded.height;
    image->pixels.clear();
    image->pixels.reserve(static_cast<std::size_t>(decoded.width) * decoded.height);
    for (std::size_t i = 0; i < static_cast<std::size_t>(decoded.width) * decoded.height; ++i) {
        if (decoded.indexed) {
            const std::size_t index = decoded.pixels[i];
            const platform::BmpColour c =
                index < decoded.colours.size() ? decoded.colours[index] : platform::BmpColour{};
            image->pixels.push_back({c.red, c.green, c.blue});
        } else {
            image->pixels.push_back(
                {decoded.pixels[3 * i], decoded.pixels[3 * i + 1], decoded.pixels[3 * i + 2]});
        }
    }
    return true;
}

bool WriteColourPng(const std::string& path, const hostkit::RgbImage& image, std::string* error) {
    std::map<std::uint32_t, BYTE> indexOf;
    PALETTEENTRY palette[256] = {};
    std::vector<BYTE> indices;
    indices.reserve(image.pixels.size());
    for (const hostkit::Rgb& c : image.pixels) {
        const std::uint32_t key = (c.red << 16) | (c.green << 8) | c.blue;
        auto found = indexOf.find(key);
        if (found == indexOf.end()) {
            if (indexOf.size() == 256) {
                *error = path + ": the picture has more than 256 colours";
                return false;
            }
            const BYTE next = static_cast<BYTE>(indexOf.size());
            palette[next] = {c.red, c.green, c.blue, 0};
            found = indexOf.emplace(key, next).first;
        }
        indices.push_back(found->second);
    }
    *error = hostkit::WriteIndexedPngFile(path, indices.data(), image.width, image.width, image.height,
                                     palette);
    return error->empty();
}

}  // namespace framecompare
