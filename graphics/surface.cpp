// Surface creation, locking, the line rule, fills, colour keys and the nine copy operations.
#include "graphics/surface.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "graphics/bitmap_loading.h"
#include "graphics/display_error.h"
#include "graphics/screen.h"

namespace {

DDBLTFX MakeEffects() {
    DDBLTFX effects;
    std::memset(&effects, 0, sizeof effects);
    effects.dwSize = sizeof effects;
    return effects;
}

// Truncation toward zero, as the display's integer coordinates need.
int Truncate(double value) { return static_cast<int>(value); }

}  // namespace

Surface::Surface() = default;

Surface::~Surface() {
    if (surface != nullptr) {
        surface->Release();
        surface = nullptr;
    }
}

int Surface::Create(Screen* owner, int newWidth, int newHeight) {
    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = static_cast<DWORD>(newWidth);
    description.dwHeight = static_cast<DWORD>(newHeight);
    HRESULT result = owner->directDraw != nullptr
                         ? owner->directDraw->CreateSurface(&description, &surface, nullptr)
                         : DDERR_NOTINITIALIZED;
    if (result != DD_OK) {
        ReportDisplayError(result, owner->window);
        return 0;
    }
    fileName = nullptr;
    screen = owner;
    colorKey = -1;
    width = newWidth;
    height = newHeight;
    srcRect = dstRect = RECT{0, 0, newWidth, newHeight};
    return 1;
}

HRESULT Surface::Lock() {
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    HRESULT result = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (result != DD_OK) {
        // A failed lock leaves nothing to draw into: every pixel write of the frame is dropped.
        std::memset(&desc, 0, sizeof desc);
    }
    return result;
}

HRESULT Surface::Unlock() {
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    return surface->Unlock(&desc);
}

void Surface::DrawLine(int x1, int y1, int x2, int y2, int colour) {
    // The lock's fields are read once: a byte store may alias them, which would otherwise force
    // a reload for every pixel. The pixels set are exactly those PutPixel would set.
    const int width = static_cast<int>(desc.dwWidth);
    const int height = static_cast<int>(desc.dwHeight);
    if (width <= 0 || height <= 0)
        return;
    BYTE* const pixels = static_cast<BYTE*>(desc.lpSurface);
    const std::ptrdiff_t pitch = desc.lPitch;
    const BYTE value = static_cast<BYTE>(colour);
    auto inside = [](int v, int extent) {
        return static_cast<unsigned>(v) < static_cast<unsigned>(extent);
    };

    const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
    if (dx == 0) {
        // The larger end is not drawn, so a line of one point draws nothing.
        if (!inside(x1, width))
            return;
        const int top = std::max(std::min(y1, y2), 0);
        const int end = std::min(std::max(y1, y2), height);
        for (int y = top; y < end; ++y)
            pixels[y * pitch + x1] = value;
        return;
    }
    if (dy == 0) {
        if (!inside(y1, height))
            return;
        const int left = std::max(std::min(x1, x2), 0);
        const int end = std::min(std::max(x1, x2), width);
        BYTE* const row = pixels + y1 * pitch;
        const int count = end - left;
        if (count <= 2) {
            // Mostly a pixel or two (the traces' flat steps): cheaper stored than passed to memset.
            if (count > 0)
                row[left] = value;
            if (count > 1)
                row[left + 1] = value;
            return;
        }
        std::memset(row + left, value, static_cast<std::size_t>(count));
        return;
    }
    if (dx > dy) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        // The running y is summed, not recomputed, so a long line can end one pixel short. Columns
        // left of the surface still take their step; columns right of it are never drawn.
        const double slope = static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1);
        double yf = y1;
        int x = x1;
        for (; x < 0 && x <= x2; ++x)
            yf += slope;
        for (const int last = std::min(x2, width - 1); x <= last; ++x) {
            const int y = Truncate(yf);
            if (inside(y, height))
                pixels[y * pitch + x] = value;
            yf += slope;
        }
        return;
    }
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const double slope = static_cast<double>(x2 - x1) / static_cast<double>(y2 - y1);
    double xf = x1;
    int y = y1;
    for (; y < 0 && y <= y2; ++y)
        xf += slope;
    for (const int last = std::min(y2, height - 1); y <= last; ++y) {
        const int x = Truncate(xf);
        if (inside(x, width))
            pixels[y * pitch + x] = value;
        xf += slope;
    }
}

HRESULT Surface::Fill(int colour) {
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    DDBLTFX effects = MakeEffects();
    effects.dwFillColor = static_cast<DWORD>(colour);
    return surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

HRESULT Surface::SetColorKey(int colour) {
    colorKey = colour;
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    DDCOLORKEY key{static_cast<DWORD>(colour), static_cast<DWORD>(colour)};
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

HRESULT Surface::Restore() {
    if (surface != nullptr) surface->Restore();
    return ReloadBitmap(surface, fileName);
}

HRESULT Surface::RestoreIfLost(HRESULT result) {
    if (result == DDERR_SURFACELOST) Restore();
    return result;
}

HRESULT Surface::Draw(Surface* target) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    return RestoreIfLost(target->surface->Blt(&dstRect, surface, &srcRect, DDBLT_WAIT, nullptr));
}

HRESULT Surface::DrawAt(int x, int y, Surface* target) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    return RestoreIfLost(target->surface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                  surface, &srcRect, DDBLTFAST_WAIT));
}

HRESULT Surface::DrawKeyedAt(int x, int y, Surface* target) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    return RestoreIfLost(target->surface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                  surface, &srcRect,
                                                  DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY));
}

HRESULT Surface::DrawKeyedClipped(int x, int y, Surface* target, RECT clip) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    RECT s = srcRect;
    if (x + (s.right - s.left) > clip.right) s.right -= x + (s.right - s.left) - clip.right;
    if (x < clip.left) {
        s.left += clip.left - x;
        x = clip.left;
    }
    if (y < clip.top) {
        s.top += clip.top - y;
        y = clip.top;
    }
    if (y + (s.bottom - s.top) > clip.bottom) s.bottom -= y + (s.bottom - s.top) - clip.bottom;
    return RestoreIfLost(target->surface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                  surface, &s,
                                                  DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY));
}

HRESULT Surface::DrawToWindow(Surface* target) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr ||
        screen == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    RECT client{};
    GetClientRect(screen->window, &client);
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(screen->window, &topLeft);
    ClientToScreen(screen->window, &bottomRight);
    RECT to{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return RestoreIfLost(target->surface->Blt(&to, surface, nullptr, DDBLT_WAIT, nullptr));
}

HRESULT Surface::DrawScaledKeyed(int x, int y, float scale, Surface* target) {
    if (surface == nullptr || target == nullptr || target->surface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    // The position sits inside the product: left and top are not scaled, the far corner is.
    dstRect = RECT{x, y, Truncate(static_cast<double>(x + width) * scale),
                   Truncate(static_cast<double>(y + height) * scale)};
    return RestoreIfLost(target->surface->Blt(&dstRect, surface, &srcRect,
                                              DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
}

HRESULT Surface::MirrorLeftRight(int, int, int) {
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    DDBLTFX effects = MakeEffects();
    effects.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    return surface->Blt(nullptr, nullptr, nullptr, DDBLT_DDFX | DDBLT_WAIT, &effects);
}

HRESULT Surface::MirrorUpDown(int, int, int) {
    if (surface == nullptr) return DDERR_NOTINITIALIZED;
    DDBLTFX effects = MakeEffects();
    effects.dwDDFX = DDBLTFX_MIRRORUPDOWN;
    return surface->Blt(nullptr, nullptr, nullptr, DDBLT_DDFX | DDBLT_WAIT, &effects);
}

void Surface::NoOp(int, int, int, int, int) {}
