// PNG output of an indexed image through the host kit's PNG writer.
#include "assets/drawings/IndexedPng.h"

#include <ostream>

#include "hostkit/desktop/picture_file.h"

namespace drawings {

bool WriteIndexedPng(const IndexedImage& image, const std::string& file, std::ostream& errors) {
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {image.palette[i][0], image.palette[i][1], image.palette[i][2], 0};
    const std::string error = hostkit::WriteIndexedPngFile(
        file, image.pixels.data(), image.width, image.width, image.height, palette);
    if (!error.empty())
        errors << error << "\n";
    return error.empty();
}

}  // namespace drawings
