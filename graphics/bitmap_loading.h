// Turning BMP pictures into display objects: picture surfaces, reloads and display palettes.
#pragma once

#include "platform/ddraw.h"

// A new off-screen surface holding the picture; its size goes to the out-arguments. Null when no
// picture of that name is found or the display refuses the surface.
IDirectDrawSurface* LoadBitmapSurface(IDirectDraw2* directDraw, const char* fileName, int* width,
                                      int* height);

// Puts the picture back into an existing surface: 0, E_FAIL when not found, or the copy's code.
HRESULT ReloadBitmap(IDirectDrawSurface* surface, const char* fileName);

// Copies (and stretches) a decoded picture onto the whole surface, converting its colours to
// the display palette; widths or heights of 0 mean the picture's own.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP image, int srcX, int srcY,
                            int srcWidth, int srcHeight);

// A 256-entry display palette from the bitmap's colour table over the default colour cube.
IDirectDrawPalette* LoadPaletteFromBitmap(IDirectDraw2* directDraw, const char* fileName);

// The palette every load starts from: index bits read as RRRGGGBB.
void FillDefaultColourCube(PALETTEENTRY* entries);
