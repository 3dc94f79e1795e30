// Screen set-up (full screen and windowed), presentation, clearing, palettes and teardown.
#include "graphics/screen.h"

#include <cstring>

#include "graphics/bitmap_loading.h"
#include "graphics/display_error.h"

namespace {

DDSURFACEDESC MakeDescription(DWORD flags, DWORD caps) {
    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.ddsCaps.dwCaps = caps;
    return description;
}

}  // namespace

Screen::~Screen() {
    if (directDraw != nullptr) directDraw->RestoreDisplayMode();
    delete backBuffer;
    backBuffer = nullptr;
    delete primary;
    primary = nullptr;
    if (clipper != nullptr) {
        clipper->Release();
        clipper = nullptr;
    }
    if (palette != nullptr) {
        palette->Release();
        palette = nullptr;
    }
    if (directDraw != nullptr) {
        directDraw->Release();
        directDraw = nullptr;
    }
}

bool Screen::CreateDevice() {
    IDirectDraw* first = nullptr;
    HRESULT result = DirectDrawCreate(nullptr, &first, nullptr);
    if (result != DD_OK) {
        ReportDisplayError(result, window);
        return false;
    }
    result = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directDraw));
    if (result != DD_OK) {
        ReportDisplayError(result, window);
        directDraw = nullptr;
    }
    first->Release();
    return directDraw != nullptr;
}

int Screen::Create(HWND newWindow, int newWidth, int newHeight, int newBitsPerPixel,
                   int standardVgaMode) {
    directDraw = nullptr;
    fullScreen = 1;
    palette = nullptr;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    window = newWindow;

    const bool haveDevice = CreateDevice();
    if (haveDevice) {
        HRESULT result = directDraw->SetCooperativeLevel(
            window, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX);
        if (result != DD_OK) ReportDisplayError(result, window);
        result = directDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                            static_cast<DWORD>(bitsPerPixel), 0,
                                            standardVgaMode != 0 ? DDSDM_STANDARDVGAMODE : 0);
        if (result != DD_OK) ReportDisplayError(result, window);
    }
    primary = new Surface;
    backBuffer = new Surface;
    if (haveDevice) {
        DDSURFACEDESC description =
            MakeDescription(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                            DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
        description.dwBackBufferCount = 1;
        HRESULT result = directDraw->CreateSurface(&description, &primary->surface, nullptr);
        if (result != DD_OK) {
            ReportDisplayError(result, window);
            primary->surface = nullptr;
        }
    }
    if (primary->surface != nullptr) {
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        HRESULT result = primary->surface->GetAttachedSurface(&caps, &backBuffer->surface);
        if (result != DD_OK) {
            ReportDisplayError(result, window);
            backBuffer->surface = nullptr;
        }
    }
    return 1;
}

int Screen::CreateWindowed(HWND newWindow, int newWidth, int newHeight) {
    directDraw = nullptr;
    fullScreen = 0;
    palette = nullptr;
    width = newWidth;
    height = newHeight;
    window = newWindow;
    HDC desktop = GetDC(nullptr);
    bitsPerPixel = GetDeviceCaps(desktop, PLANES) * GetDeviceCaps(desktop, BITSPIXEL);
    ReleaseDC(nullptr, desktop);

    const bool haveDevice = CreateDevice();
    if (haveDevice) {
        HRESULT result = directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
        if (result != DD_OK) ReportDisplayError(result, window);
    }
    primary = new Surface;
    backBuffer = new Surface;
    if (!haveDevice) return 1;
    DDSURFACEDESC description = MakeDescription(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    HRESULT result = directDraw->CreateSurface(&description, &primary->surface, nullptr);
    if (result != DD_OK) {
        ReportDisplayError(result, window);
        primary->surface = nullptr;
    }
    description = MakeDescription(DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN);
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    result = directDraw->CreateSurface(&description, &backBuffer->surface, nullptr);
    if (result != DD_OK) {
        ReportDisplayError(result, window);
        backBuffer->surface = nullptr;
    }
    result = directDraw->CreateClipper(0, &clipper, nullptr);
    if (result != DD_OK) {
        ReportDisplayError(result, window);
        clipper = nullptr;
    }
    if (clipper != nullptr) {
        clipper->SetHWnd(0, window);
        if (primary->surface != nullptr) primary->surface->SetClipper(clipper);
    }
    return 1;
}

HRESULT Screen::Present() {
    HRESULT result = DDERR_NOTINITIALIZED;
    if (primary == nullptr || primary->surface == nullptr) return result;
    if (fullScreen != 0) {
        result = primary->surface->Flip(nullptr, DDFLIP_WAIT);
    } else if (backBuffer != nullptr && backBuffer->surface != nullptr) {
        RECT to{};
        GetClientRect(window, &to);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        OffsetRect(&to, origin.x, origin.y);
        result = primary->surface->Blt(&to, backBuffer->surface, nullptr, DDBLT_WAIT, nullptr);
    }
    if (result == DDERR_SURFACELOST) RestorePrimary();
    return result;
}

void Screen::RestorePrimary() {
    if (primary != nullptr && primary->surface != nullptr && primary->surface->IsLost() != DD_OK) {
        primary->surface->Restore();
    }
}

HRESULT Screen::Clear(int colour) {
    if (backBuffer == nullptr || backBuffer->surface == nullptr) return DDERR_NOTINITIALIZED;
    DDBLTFX effects;
    std::memset(&effects, 0, sizeof effects);
    effects.dwSize = sizeof effects;
    effects.dwFillColor = static_cast<DWORD>(colour);
    return backBuffer->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT,
                                    &effects);
}

int Screen::SetPaletteFromBitmap(const char* fileName) {
    if (fileName == nullptr) return 0;
    IDirectDrawPalette* next = LoadPaletteFromBitmap(directDraw, fileName);
    if (next == nullptr) return 0;
    if (palette != nullptr) palette->Release();
    palette = next;
    if (primary != nullptr && primary->surface != nullptr) primary->surface->SetPalette(palette);
    return 1;
}
