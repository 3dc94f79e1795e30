// Taking colours from a resource's or a file's colour table into the display palette's entries.
#include "graphics/palette_reader.h"

#include <utility>

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kBitCountAt = 14;
constexpr std::size_t kClrUsedAt = 32;

DWORD ReadU32(const BYTE* b) {
    return static_cast<DWORD>(b[0]) | (static_cast<DWORD>(b[1]) << 8) |
           (static_cast<DWORD>(b[2]) << 16) | (static_cast<DWORD>(b[3]) << 24);
}

int ReadU16(const BYTE* b) {
    return b[0] | (b[1] << 8);
}

}  // namespace

int PaletteColourCount(int bitCount, DWORD clrUsed) {
    if (bitCount > 8)
        return 0;
    const DWORD count = clrUsed == 0 ? (1u << bitCount) : clrUsed;
    return count > 256 ? 256 : static_cast<int>(count);
}

int TakeResourceColours(const BYTE* bytes, std::size_t size, PALETTEENTRY* entries) {
    if (bytes == nullptr || size < kInfoHeaderBytes)
        return 0;
    const DWORD headerSize = ReadU32(bytes);
    if (headerSize < kInfoHeaderBytes || headerSize > size)
        return 0;
    int count = PaletteColourCount(ReadU16(bytes + kBitCountAt), ReadU32(bytes + kClrUsedAt));
    // Only entries that lie wholly inside the resource are read.
    const std::size_t inside = (size - headerSize) / 4;
    if (static_cast<std::size_t>(count) > inside)
        count = static_cast<int>(inside);
    const BYTE* table = bytes + headerSize;
    for (int i = 0; i < count; ++i) {
        entries[i].peRed = table[4 * i + 2];
        entries[i].peGreen = table[4 * i + 1];
        entries[i].peBlue = table[4 * i];
        entries[i].peFlags = 0;
    }
    return count;
}

int TakeFileColours(const BYTE* info, std::size_t infoBytes, PALETTEENTRY* entries) {
    // A header cut short by the end of the file is not acceptable.
    if (info == nullptr || infoBytes < kInfoHeaderBytes || ReadU32(info) != kInfoHeaderBytes) {
        return 0;
    }
    const int count = PaletteColourCount(ReadU16(info + kBitCountAt), ReadU32(info + kClrUsedAt));
    // The file's entries are blue, green, red, reserved; the palette's red, green, blue, flags.
    for (int i = 0; i < count; ++i)
        std::swap(entries[i].peRed, entries[i].peBlue);
    return count;
}
