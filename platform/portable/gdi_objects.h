// Drawing contexts onto software surfaces and the GDI picture objects the image loader makes.
#pragma once

#include "platform/bmp_decoder.h"
#include "platform/win32.h"

namespace platform::detail {
class SurfaceImpl;
}

// A GDI object; the only kind made here is a decoded picture.
struct HGDIOBJ__ {
    platform::DecodedBmp picture;
    int selectedInto = 0;  // memory contexts holding it; it cannot be deleted meanwhile
    bool stock = false;    // the default picture of a memory context, never deleted
};

// A drawing context: onto a surface's pixels, or a memory context holding a picture.
struct HDC__ {
    platform::detail::SurfaceImpl* surface = nullptr;
    HGDIOBJ selected = nullptr;
    bool memory = false;
};

namespace platform::detail {

HDC CreateSurfaceDC(SurfaceImpl* surface);
void DeleteSurfaceDC(HDC dc);

}  // namespace platform::detail
