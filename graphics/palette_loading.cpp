// The display palette from a bitmap's colour table, over the default colour cube.
#include <cstring>

#include "graphics/bitmap_loading.h"
#include "graphics/palette_reader.h"

namespace {

constexpr UINT kFileHeaderBytes = 14;
constexpr UINT kInfoHeaderBytes = 40;
constexpr UINT kTableBytes = 256 * sizeof(PALETTEENTRY);

// A failed read counts as nothing read.
UINT ReadBytes(HFILE file, void* buffer, UINT bytes) {
    const UINT got = _lread(file, buffer, bytes);
    return got == static_cast<UINT>(HFILE_ERROR) ? 0 : got;
}

// The colour table of a bitmap resource of the host's main module; false when there is none.
bool TakeColoursFromResource(const char* fileName, PALETTEENTRY* entries) {
    HRSRC found = FindResourceA(nullptr, fileName, RT_BITMAP);
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) {
        OutputDebugStringA("lock resource failed\n");
        return true;
    }
    TakeResourceColours(static_cast<const BYTE*>(bytes), SizeofResource(nullptr, found), entries);
    return true;
}

// File header, information header, then the colour table straight over the entries, in that
// order and without seeking, so that entry i holds file bytes 54 + 4i to 57 + 4i.
void TakeColoursFromFile(const char* fileName, PALETTEENTRY* entries) {
    HFILE file = _lopen(fileName, OF_READ);
    if (file == HFILE_ERROR)
        return;
    BYTE fileHeader[kFileHeaderBytes];
    BYTE info[kInfoHeaderBytes] = {};
    ReadBytes(file, fileHeader, kFileHeaderBytes);
    const UINT infoBytes = ReadBytes(file, info, kInfoHeaderBytes);
    ReadBytes(file, entries, kTableBytes);
    _lclose(file);
    TakeFileColours(info, infoBytes, entries);
}

}  // namespace

void FillDefaultColourCube(PALETTEENTRY* entries) {
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
        entries[i].peGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
        entries[i].peBlue = static_cast<BYTE>((i & 3) * 255 / 3);
        entries[i].peFlags = 0;
    }
}

IDirectDrawPalette* LoadPaletteFromBitmap(IDirectDraw2* directDraw, const char* fileName) {
    PALETTEENTRY entries[256];
    FillDefaultColourCube(entries);
    if (fileName != nullptr && !TakeColoursFromResource(fileName, entries)) {
        TakeColoursFromFile(fileName, entries);
    }
    if (directDraw == nullptr)
        return nullptr;
    IDirectDrawPalette* palette = nullptr;
    if (directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) {
        return nullptr;
    }
    return palette;
}
