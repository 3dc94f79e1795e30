// Pictures into surfaces: the lookup (resource first, then file), new picture surfaces, reloads
// after a lost surface, and the copy that converts colours to the display palette.
#include "graphics/bitmap_loading.h"

#include <cstring>

namespace {

// The name as a bitmap resource of the host's main module, then as a file path.
HBITMAP LookUpPicture(const char* fileName) {
    HANDLE image =
        LoadImageA(GetModuleHandleA(nullptr), fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image == nullptr) {
        image = LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0,
                           LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    }
    return static_cast<HBITMAP>(image);
}

}  // namespace

IDirectDrawSurface* LoadBitmapSurface(IDirectDraw2* directDraw, const char* fileName, int* width,
                                      int* height) {
    HBITMAP image = LookUpPicture(fileName);
    if (image == nullptr)
        return nullptr;
    BITMAP info{};
    GetObjectA(image, sizeof info, &info);

    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = static_cast<DWORD>(info.bmWidth);
    description.dwHeight = static_cast<DWORD>(info.bmHeight);
    IDirectDrawSurface* surface = nullptr;
    if (directDraw == nullptr ||
        directDraw->CreateSurface(&description, &surface, nullptr) != DD_OK) {
        DeleteObject(image);
        return nullptr;
    }
    // The surface is handed out even when the copy fails.
    CopyBitmapToSurface(surface, image, 0, 0, 0, 0);
    DeleteObject(image);
    if (width != nullptr)
        *width = info.bmWidth;
    if (height != nullptr)
        *height = info.bmHeight;
    return surface;
}

HRESULT ReloadBitmap(IDirectDrawSurface* surface, const char* fileName) {
    HBITMAP image = LookUpPicture(fileName);
    if (image == nullptr) {
        OutputDebugStringA("handle is null\n");
        return E_FAIL;
    }
    HRESULT result = CopyBitmapToSurface(surface, image, 0, 0, 0, 0);
    if (result != DD_OK)
        OutputDebugStringA("ddcopybitmap failed\n");
    DeleteObject(image);
    return result;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP image, int srcX, int srcY,
                            int srcWidth, int srcHeight) {
    if (image == nullptr || surface == nullptr)
        return E_FAIL;
    surface->Restore();
    // Without a memory context the copy below transfers nothing, but the steps still run.
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr)
        OutputDebugStringA("createcompatible dc failed\n");
    SelectObject(memory, image);
    BITMAP info{};
    GetObjectA(image, sizeof info, &info);
    const int width = srcWidth == 0 ? info.bmWidth : srcWidth;
    const int height = srcHeight == 0 ? info.bmHeight : srcHeight;

    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&description);

    HDC target = nullptr;
    HRESULT result = surface->GetDC(&target);
    if (result == DD_OK) {
        StretchBlt(target, 0, 0, static_cast<int>(description.dwWidth),
                   static_cast<int>(description.dwHeight), memory, srcX, srcY, width, height,
                   SRCCOPY);
        surface->ReleaseDC(target);
    }
    DeleteDC(memory);
    return result;
}
