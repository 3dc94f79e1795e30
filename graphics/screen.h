// Screen: the 8-bit display of the show with its primary, back buffer and palette.
#pragma once

#include "graphics/surface.h"
#include "platform/ddraw.h"

class Screen {
public:
    Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    // Gives the desktop display mode back, then releases the surfaces before the device.
    ~Screen();

    // Exclusive full screen with a flip chain. Failing steps are reported and skipped; always 1.
    int Create(HWND window, int width, int height, int bitsPerPixel, int standardVgaMode);
    // Drawing into the window on the normal desktop. Always 1.
    int CreateWindowed(HWND window, int width, int height);

    HRESULT Present();
    HRESULT Clear(int colour);
    // 1 when the bitmap's colour table became the display palette, 0 otherwise.
    int SetPaletteFromBitmap(const char* fileName);

    IDirectDraw2* directDraw = nullptr;
    Surface* primary = nullptr;
    Surface* backBuffer = nullptr;
    IDirectDrawPalette* palette = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    HWND window = nullptr;
    int fullScreen = 0;

private:
    bool CreateDevice();
    void RestorePrimary();
};
