// Picture and palette loading. Pictures are not decoded yet: every lookup misses, and palettes
// are the default colour cube.
#include "graphics/bitmap_loading.h"

IDirectDrawSurface* LoadBitmapSurface(IDirectDraw2*, const char*, int*, int*) { return nullptr; }

HRESULT ReloadBitmap(IDirectDrawSurface*, const char*) {
    OutputDebugStringA("handle is null\n");
    return E_FAIL;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP image, int, int, int, int) {
    if (surface == nullptr || image == nullptr) return E_FAIL;
    return E_FAIL;
}

void FillDefaultColourCube(PALETTEENTRY* entries) {
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
        entries[i].peGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
        entries[i].peBlue = static_cast<BYTE>((i & 3) * 255 / 3);
        entries[i].peFlags = 0;
    }
}

IDirectDrawPalette* LoadPaletteFromBitmap(IDirectDraw2* directDraw, const char*) {
    if (directDraw == nullptr) return nullptr;
    PALETTEENTRY entries[256];
    FillDefaultColourCube(entries);
    IDirectDrawPalette* palette = nullptr;
    if (directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) {
        return nullptr;
    }
    return palette;
}
