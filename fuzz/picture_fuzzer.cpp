// Fuzzes picture loading: the file read and BMP decode behind LoadImageA, a new surface of the
// picture's size, and the stretched copy with colour matching onto the display's indices, as a
// new picture surface and as a reload into a surface of another size.
#include "fuzz/fuzz_support.h"
#include "graphics/bitmap_loading.h"

namespace {

// Reloads stretch the picture onto this, as after a lost surface of another size.
IDirectDrawSurface* ReloadTarget(IDirectDraw2* directDraw) {
    static IDirectDrawSurface* surface = [directDraw] {
        DDSURFACEDESC description{};
        description.dwSize = sizeof description;
        description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        description.dwWidth = 37;
        description.dwHeight = 23;
        IDirectDrawSurface* made = nullptr;
        directDraw->CreateSurface(&description, &made, nullptr);
        return made;
    }();
    return surface;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    fuzzing::FuzzScreen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Screen& screen = fuzzing::FuzzScreen();
    const std::string& path = fuzzing::WriteScratchFile(data, size);
    int width = -1;
    int height = -1;
    IDirectDrawSurface* surface =
        LoadBitmapSurface(screen.directDraw, path.c_str(), &width, &height);
    if (surface == nullptr) {
        if (width != -1 || height != -1)
            fuzzing::Fail("a failed load wrote its size");
        if (ReloadBitmap(ReloadTarget(screen.directDraw), path.c_str()) != E_FAIL)
            fuzzing::Fail("a picture that does not load reloaded");
        return 0;
    }
    DDSURFACEDESC description{};
    description.dwSize = sizeof description;
    surface->GetSurfaceDesc(&description);
    if (width <= 0 || height <= 0 || static_cast<int>(description.dwWidth) != width ||
        static_cast<int>(description.dwHeight) != height) {
        fuzzing::Fail("the new surface is not the picture's size");
    }
    surface->Release();
    if (ReloadBitmap(ReloadTarget(screen.directDraw), path.c_str()) != DD_OK)
        fuzzing::Fail("a picture that loads did not reload");
    return 0;
}
