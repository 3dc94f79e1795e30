// Nearest-colour matching against the display palette, with a per-palette memory of answers.
#include "platform/portable/colour_match.h"

#include <cstring>
#include <unordered_map>

namespace platform::detail {
namespace {

// Bounds the memory of answers; a picture with more distinct colours starts it afresh.
constexpr std::size_t kMaxRemembered = 1 << 20;

struct MatchMemory {
    PALETTEENTRY palette[256] = {};
    bool valid = false;
    std::unordered_map<std::uint32_t, BYTE> nearest;
};

MatchMemory& Memory() {
    static MatchMemory memory;
    return memory;
}

bool SameColours(const PALETTEENTRY* a, const PALETTEENTRY* b) {
    for (int i = 0; i < 256; ++i) {
        if (a[i].peRed != b[i].peRed || a[i].peGreen != b[i].peGreen ||
            a[i].peBlue != b[i].peBlue) {
            return false;
        }
    }
    return true;
}

}  // namespace

BYTE NearestPaletteIndex(const PALETTEENTRY* palette, BYTE red, BYTE green, BYTE blue) {
    int best = 0;
    int bestDistance = 3 * 255 * 255 + 1;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].peRed - red;
        const int dg = palette[i].peGreen - green;
        const int db = palette[i].peBlue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        // Strictly closer only, so the lowest index wins a tie.
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return static_cast<BYTE>(best);
}

void MapColourTable(const std::vector<BmpColour>& table, const PALETTEENTRY* palette,
                    BYTE (&indices)[256]) {
    bool identity = !table.empty() && table.size() <= 256;
    for (std::size_t i = 0; identity && i < table.size(); ++i) {
        identity = table[i].red == palette[i].peRed && table[i].green == palette[i].peGreen &&
                   table[i].blue == palette[i].peBlue;
    }
    const BYTE black = NearestPaletteIndex(palette, 0, 0, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        if (i >= table.size()) {
            indices[i] = black;
        } else if (identity) {
            indices[i] = static_cast<BYTE>(i);
        } else {
            indices[i] = NearestPaletteIndex(palette, table[i].red, table[i].green, table[i].blue);
        }
    }
}

ColourMatcher::ColourMatcher(const PALETTEENTRY* palette) : palette_(palette) {
    MatchMemory& memory = Memory();
    if (!memory.valid || !SameColours(memory.palette, palette)) {
        std::memcpy(memory.palette, palette, sizeof memory.palette);
        memory.valid = true;
        memory.nearest.clear();
    }
}

BYTE ColourMatcher::Find(BYTE red, BYTE green, BYTE blue) {
    const std::uint32_t key =
        (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
    if (key == lastKey_)
        return lastIndex_;
    MatchMemory& memory = Memory();
    BYTE index;
    if (auto it = memory.nearest.find(key); it != memory.nearest.end()) {
        index = it->second;
    } else {
        if (memory.nearest.size() >= kMaxRemembered)
            memory.nearest.clear();
        index = NearestPaletteIndex(palette_, red, green, blue);
        memory.nearest.emplace(key, index);
    }
    lastKey_ = key;
    lastIndex_ = index;
    return index;
}

}  // namespace platform::detail
