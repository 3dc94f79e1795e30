// Drawing contexts onto software surfaces, as the picture copy needs them.
#pragma once

#include "platform/win32.h"

namespace platform::detail {
class SurfaceImpl;
}

// A drawing context: either onto a surface's pixels or a memory context holding a picture.
struct HDC__ {
    platform::detail::SurfaceImpl* surface = nullptr;
    HGDIOBJ selected = nullptr;
};

namespace platform::detail {

HDC CreateSurfaceDC(SurfaceImpl* surface);
void DeleteSurfaceDC(HDC dc);

}  // namespace platform::detail
