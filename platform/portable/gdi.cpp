// GDI on Linux as far as pictures need it: picture objects, memory drawing contexts and the
// stretched copy onto a surface with colours matched to the display palette.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/portable/colour_match.h"
#include "platform/portable/display_objects.h"
#include "platform/portable/gdi_objects.h"
#include "platform/portable/internal.h"

namespace {

using platform::detail::SurfaceImpl;

// What a fresh memory context holds, as on Windows: a 1x1 one-bit picture nobody can delete.
HGDIOBJ StockPicture() {
    static HGDIOBJ__ stock = [] {
        HGDIOBJ__ object;
        object.stock = true;
        object.picture.width = 1;
        object.picture.height = 1;
        object.picture.bitsPerPixel = 1;
        object.picture.indexed = true;
        object.picture.colours = {{0, 0, 0}, {255, 255, 255}};
        object.picture.pixels = {0};
        return object;
    }();
    return &stock;
}

// Source positions along one side: nearest neighbour, -1 where the source rectangle leaves the
// picture. Only target positions inside [0, limit) are listed, from `first` on.
std::vector<int> SamplePositions(long long target, long long targetSize, long long source,
                                 long long sourceSize, int limit, int pictureSize, int& first) {
    const long long begin = std::max(0LL, target);
    const long long end = std::min(static_cast<long long>(limit), target + targetSize);
    first = static_cast<int>(begin);
    std::vector<int> positions;
    for (long long t = begin; t < end; ++t) {
        const long long s = source + (t - target) * sourceSize / targetSize;
        positions.push_back(s >= 0 && s < pictureSize ? static_cast<int>(s) : -1);
    }
    return positions;
}

}  // namespace

extern "C" {

int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
    if (object == nullptr)
        return 0;
    if (out == nullptr)
        return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    const platform::DecodedBmp& picture = object->picture;
    BITMAP info{};
    info.bmType = 0;
    info.bmWidth = picture.width;
    info.bmHeight = picture.height;
    info.bmWidthBytes = static_cast<LONG>(
        (static_cast<long long>(picture.width) * picture.bitsPerPixel + 31) / 32 * 4);
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(picture.bitsPerPixel);
    // The bits are kept in display order, not in the layout a caller of bmBits would expect.
    info.bmBits = nullptr;
    *static_cast<BITMAP*>(out) = info;
    return static_cast<int>(sizeof(BITMAP));
}

HDC CreateCompatibleDC(HDC dc) {
    (void)dc;
    HRESULT fault = 0;
    if (platform::detail::FaultInjected("CreateCompatibleDC", &fault))
        return nullptr;
    HDC memory = new HDC__;
    memory->memory = true;
    memory->selected = StockPicture();
    return memory;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (dc == nullptr || object == nullptr || !dc->memory)
        return nullptr;
    // A picture sits in one memory context at a time.
    if (!object->stock && object->selectedInto > 0 && dc->selected != object)
        return nullptr;
    HGDIOBJ previous = dc->selected;
    if (previous == object)
        return previous;
    if (previous != nullptr && !previous->stock)
        --previous->selectedInto;
    if (!object->stock)
        ++object->selectedInto;
    dc->selected = object;
    return previous;
}

BOOL DeleteDC(HDC dc) {
    if (dc == nullptr || !dc->memory)
        return FALSE;
    if (dc->selected != nullptr && !dc->selected->stock)
        --dc->selected->selectedInto;
    delete dc;
    return TRUE;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (object == nullptr)
        return FALSE;
    if (object->stock)
        return TRUE;
    if (object->selectedInto > 0)
        return FALSE;
    delete object;
    return TRUE;
}

// From a memory context holding a picture onto a surface's context only. Negative extents
// (mirroring) are not offered.
BOOL StretchBlt(HDC target, int xTarget, int yTarget, int widthTarget, int heightTarget, HDC source,
                int xSource, int ySource, int widthSource, int heightSource, DWORD rop) {
    if (target == nullptr || source == nullptr || rop != SRCCOPY)
        return FALSE;
    if (target->memory || target->surface == nullptr)
        return FALSE;
    if (!source->memory || source->selected == nullptr)
        return FALSE;
    if (widthTarget <= 0 || heightTarget <= 0 || widthSource <= 0 || heightSource <= 0) {
        return FALSE;
    }
    const platform::DecodedBmp& picture = source->selected->picture;
    SurfaceImpl* surface = target->surface;
    int firstColumn = 0;
    int firstRow = 0;
    const std::vector<int> columns = SamplePositions(xTarget, widthTarget, xSource, widthSource,
                                                     surface->width(), picture.width, firstColumn);
    const std::vector<int> rows = SamplePositions(yTarget, heightTarget, ySource, heightSource,
                                                  surface->height(), picture.height, firstRow);
    const PALETTEENTRY* palette = surface->DisplayPalette();
    BYTE indices[256];
    if (picture.indexed)
        platform::detail::MapColourTable(picture.colours, palette, indices);
    platform::detail::ColourMatcher matcher(palette);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] < 0)
            continue;
        BYTE* out = surface->Row(firstRow + static_cast<int>(r)) + firstColumn;
        const std::size_t rowStart = static_cast<std::size_t>(rows[r]) * picture.width;
        if (picture.indexed) {
            const std::uint8_t* in = picture.pixels.data() + rowStart;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (columns[c] >= 0)
                    out[c] = indices[in[columns[c]]];
            }
        } else {
            const std::uint8_t* in = picture.pixels.data() + rowStart * 3;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (columns[c] < 0)
                    continue;
                const std::uint8_t* rgb = in + static_cast<std::size_t>(columns[c]) * 3;
                out[c] = matcher.Find(rgb[0], rgb[1], rgb[2]);
            }
        }
    }
    return TRUE;
}

}  // extern "C"
