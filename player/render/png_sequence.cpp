// Numbered PNG frames in a folder.
#include "player/render/png_sequence.h"

#include <cstdio>
#include <filesystem>

#include "hostkit/desktop/picture_file.h"

namespace player {
namespace {

// zlib's fastest level: four times less work per frame than its default for about a quarter
// more bytes, and rendering is meant to be fast.
constexpr int kFrameCompression = 1;

}  // namespace

std::string PngFrameName(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame);
    return name;
}

std::string PngSequence::Open() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder(folder_);
    if (fs::exists(folder, error) && !fs::is_directory(folder, error))
        return folder_ + ": is not a folder";
    fs::create_directories(folder, error);
    if (error)
        return folder_ + ": cannot be created: " + error.message();
    return {};
}

std::string PngSequence::Write(int frame, const hostkit::RenderedFrame& image) {
    const std::string path = (std::filesystem::path(folder_) / PngFrameName(frame)).string();
    // Written whole or not at all: no half-written frame is mistaken for a whole one.
    std::string error =
        hostkit::WriteIndexedPngFile(path, image.pixels.data(), image.width, image.width,
                                     image.height, image.palette.data(), kFrameCompression);
    if (!error.empty())
        return error;
    ++written_;
    return {};
}

}  // namespace player
