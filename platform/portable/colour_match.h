// Matching picture colours to the display palette: nearest entry by squared distance, lowest
// index on ties, with a shortcut for colour tables that are the palette itself.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/bmp_decoder.h"
#include "platform/ddraw.h"

namespace platform::detail {

BYTE NearestPaletteIndex(const PALETTEENTRY* palette, BYTE red, BYTE green, BYTE blue);

// The display index for each of the 256 possible picture indices. A table equal to the first
// entries of the palette keeps every index, even where the palette holds a colour twice; indices
// beyond the table stand for black.
void MapColourTable(const std::vector<BmpColour>& table, const PALETTEENTRY* palette,
                    BYTE (&indices)[256]);

// Nearest display index of red-green-blue colours under one palette. The answers are kept for
// as long as the palette in force stays the same, so a true-colour copy searches each distinct
// colour once; make one matcher per copy.
class ColourMatcher {
  public:
    explicit ColourMatcher(const PALETTEENTRY* palette);
    BYTE Find(BYTE red, BYTE green, BYTE blue);

  private:
    const PALETTEENTRY* palette_;
    std::uint32_t lastKey_ = 0xFFFFFFFF;
    BYTE lastIndex_ = 0;
};

}  // namespace platform::detail
