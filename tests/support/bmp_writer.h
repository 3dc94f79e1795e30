// A small BMP writer for tests and benchmarks: every header field settable, so that well-formed
// pictures of each variant and deliberately broken ones can be made in code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

// The fields of a BMP file. Pixel data is given already encoded (see the helpers below).
struct BmpFields {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: top-down rows
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t clrUsed = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (written only if room)
    bool masksAfterHeader = false;          // the three masks after a 40-byte header
    std::vector<Rgb> colours;               // written as blue, green, red, reserved
    std::vector<std::uint8_t> reserved;     // fourth byte of each table entry, default 0
    std::vector<std::uint8_t> pixelData;
    std::int64_t offBitsOverride = -1;  // a pixel-data offset that lies, when >= 0
};

std::vector<std::uint8_t> WriteBmp(const BmpFields& fields);

// Rows of indices (width per row, top row first) packed at 1, 4 or 8 bits, padded to 4 bytes,
// stored bottom-up unless topDown.
std::vector<std::uint8_t> PackIndexedRows(const std::vector<std::uint8_t>& indices, int width,
                                          int height, int bitCount, bool topDown);
// Rows of colours (top row first) as 24-bit blue-green-red or 32-bit blue-green-red-0, padded.
std::vector<std::uint8_t> PackColourRows(const std::vector<Rgb>& pixels, int width, int height,
                                         int bitCount, bool topDown);
// Run-length streams of indices (top row first) with runs and literal runs, an end-of-line
// mark per row and the end-of-picture mark.
std::vector<std::uint8_t> EncodeRle8(const std::vector<std::uint8_t>& indices, int width,
                                     int height);
std::vector<std::uint8_t> EncodeRle4(const std::vector<std::uint8_t>& indices, int width,
                                     int height);

// A plain 8-bit picture with a 256-entry table, bottom-up, 40-byte header.
std::vector<std::uint8_t> Write8BitBmp(int width, int height, const std::vector<Rgb>& colours,
                                       const std::vector<std::uint8_t>& indices);

// A file under a fresh folder that is removed with the object.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Writes the bytes to name inside the folder and returns the full path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace testing_support
