// Drawing contexts onto software surfaces.
#include "platform/portable/gdi_objects.h"

namespace platform::detail {

HDC CreateSurfaceDC(SurfaceImpl* surface) {
    HDC dc = new HDC__;
    dc->surface = surface;
    return dc;
}

void DeleteSurfaceDC(HDC dc) { delete dc; }

}  // namespace platform::detail

extern "C" {

HDC GetDC(HWND window) {
    (void)window;
    return new HDC__;
}

int ReleaseDC(HWND window, HDC dc) {
    (void)window;
    delete dc;
    return 1;
}

// The desktop of a Linux window system runs in true colour.
int GetDeviceCaps(HDC dc, int index) {
    (void)dc;
    if (index == PLANES) return 1;
    if (index == BITSPIXEL) return 32;
    return 0;
}

}  // extern "C"
