// Fuzzes picture loading: the file read and BMP decode behind LoadImageA, a new surface of the
// picture's size, and the stretched copy with colour matching onto the display's indices, as a
// new picture surface and as a reload into a surface of another size.
#include "fuzz/fuzz_support.h"
#include "graphics/bitmap_loading.h"
#include "platform/bmp_decoder.h"

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

constexpr std::int64_t kMaxFuzzedPixels = 1 << 20;

// A picture the decoder would take although it is far larger than any the show has: width and
// height as its information header states them. Larger claims are refused cheaply and stay in.
bool LargeButAllowed(const std::uint8_t* data, std::size_t size) {
    if (size < 26)
        return false;
    auto field = [data](std::size_t at) {
        const std::int64_t value = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
            (static_cast<std::uint32_t>(data[at + 2]) << 16) |
            (static_cast<std::uint32_t>(data[at + 3]) << 24));
        return value < 0 ? -value : value;
    };
    const std::int64_t width = field(18);
    const std::int64_t height = field(22);
    return width <= platform::kMaxBmpSide && height <= platform::kMaxBmpSide &&
           width * height > kMaxFuzzedPixels && width * height <= platform::kMaxBmpPixels;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    fuzzing::FuzzScreen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Pictures of many millions of pixels take a tiny RLE file and most of a second each; they
    // would slow the search a hundredfold. The largest allowed is loaded by a robustness test.
    if (LargeButAllowed(data, size))
        return 0;
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
