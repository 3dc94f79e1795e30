// Writing BMP files field by field, packing rows and run-length streams, and temporary folders.
#include "tests/support/bmp_writer.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace testing_support {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::size_t RowBytes(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

// Rows in file order: bottom row first unless top-down.
int SourceRow(int fileRow, int height, bool topDown) {
    return topDown ? fileRow : height - 1 - fileRow;
}

// One row of an RLE stream; `nibbles` selects RLE4.
void EncodeRow(const std::uint8_t* row, int width, bool nibbles, std::vector<std::uint8_t>& out) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x])
            ++run;
        if (run >= 3 || width - x < 3) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(nibbles ? static_cast<std::uint8_t>(row[x] << 4 | row[x]) : row[x]);
            x += run;
            continue;
        }
        // A literal run up to the next run of three, at least three long.
        int length = 3;
        while (x + length < width && length < 255 &&
               !(x + length + 2 < width && row[x + length] == row[x + length + 1] &&
                 row[x + length] == row[x + length + 2])) {
            ++length;
        }
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(length));
        std::size_t bytes = 0;
        for (int i = 0; i < length; i += nibbles ? 2 : 1, ++bytes) {
            if (!nibbles) {
                out.push_back(row[x + i]);
            } else {
                const std::uint8_t low = i + 1 < length ? row[x + i + 1] : 0;
                out.push_back(static_cast<std::uint8_t>(row[x + i] << 4 | low));
            }
        }
        if ((bytes & 1) != 0)
            out.push_back(0);
        x += length;
    }
}

std::vector<std::uint8_t> EncodeRle(const std::vector<std::uint8_t>& indices, int width, int height,
                                    bool nibbles) {
    std::vector<std::uint8_t> out;
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int row = SourceRow(fileRow, height, false);
        EncodeRow(indices.data() + static_cast<std::size_t>(row) * width, width, nibbles, out);
        out.push_back(0);
        out.push_back(fileRow + 1 < height ? 0 : 1);
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> WriteBmp(const BmpFields& f) {
    std::vector<std::uint8_t> out;
    const std::size_t tableStart = 14 + f.headerSize + (f.masksAfterHeader ? 12 : 0);
    const std::size_t offBits = f.offBitsOverride >= 0 ? static_cast<std::size_t>(f.offBitsOverride)
                                                       : tableStart + 4 * f.colours.size();
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(tableStart + 4 * f.colours.size() + f.pixelData.size()));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offBits));
    Put32(out, f.headerSize);
    Put32(out, static_cast<std::uint32_t>(f.width));
    Put32(out, static_cast<std::uint32_t>(f.height));
    Put16(out, 1);
    Put16(out, f.bitCount);
    Put32(out, f.compression);
    Put32(out, f.sizeImage);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, f.clrUsed);
    Put32(out, 0);
    // Longer headers: masks, then colour-space fields left zero.
    for (int i = 0; i < 4 && out.size() + 4 <= 14 + f.headerSize; ++i)
        Put32(out, f.masks[i]);
    out.resize(14 + f.headerSize, 0);
    if (f.masksAfterHeader) {
        for (int i = 0; i < 3; ++i)
            Put32(out, f.masks[i]);
    }
    for (std::size_t i = 0; i < f.colours.size(); ++i) {
        out.push_back(f.colours[i].blue);
        out.push_back(f.colours[i].green);
        out.push_back(f.colours[i].red);
        out.push_back(i < f.reserved.size() ? f.reserved[i] : 0);
    }
    out.insert(out.end(), f.pixelData.begin(), f.pixelData.end());
    return out;
}

std::vector<std::uint8_t> PackIndexedRows(const std::vector<std::uint8_t>& indices, int width,
                                          int height, int bitCount, bool topDown) {
    const std::size_t rowBytes = RowBytes(width, bitCount);
    std::vector<std::uint8_t> out(rowBytes * height, 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const std::uint8_t* in =
            indices.data() + static_cast<std::size_t>(SourceRow(fileRow, height, topDown)) * width;
        std::uint8_t* row = out.data() + fileRow * rowBytes;
        for (int x = 0; x < width; ++x) {
            if (bitCount == 8) {
                row[x] = in[x];
            } else if (bitCount == 4) {
                row[x / 2] |= static_cast<std::uint8_t>((in[x] & 15) << ((x & 1) == 0 ? 4 : 0));
            } else {
                row[x / 8] |= static_cast<std::uint8_t>((in[x] & 1) << (7 - (x & 7)));
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> PackColourRows(const std::vector<Rgb>& pixels, int width, int height,
                                         int bitCount, bool topDown) {
    const std::size_t rowBytes = RowBytes(width, bitCount);
    const int step = bitCount / 8;
    std::vector<std::uint8_t> out(rowBytes * height, 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const Rgb* in =
            pixels.data() + static_cast<std::size_t>(SourceRow(fileRow, height, topDown)) * width;
        std::uint8_t* row = out.data() + fileRow * rowBytes;
        for (int x = 0; x < width; ++x) {
            row[x * step] = in[x].blue;
            row[x * step + 1] = in[x].green;
            row[x * step + 2] = in[x].red;
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeRle8(const std::vector<std::uint8_t>& indices, int width,
                                     int height) {
    return EncodeRle(indices, width, height, false);
}

std::vector<std::uint8_t> EncodeRle4(const std::vector<std::uint8_t>& indices, int width,
                                     int height) {
    return EncodeRle(indices, width, height, true);
}

std::vector<std::uint8_t> Write8BitBmp(int width, int height, const std::vector<Rgb>& colours,
                                       const std::vector<std::uint8_t>& indices) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitCount = 8;
    fields.colours = colours;
    fields.colours.resize(256, Rgb{0, 0, 0});
    fields.pixelData = PackIndexedRows(indices, width, height, 8, false);
    return WriteBmp(fields);
}

TempFolder::TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        auto candidate = base / ("tolvek-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            path_ = candidate.string();
    }
    if (path_.empty())
        throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name,
                              const std::vector<std::uint8_t>& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace testing_support
