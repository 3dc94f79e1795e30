// The display mode and the screen photograph.
#include "tools/winhost/screen_shot.h"

#include <cstring>

namespace winhost {

std::string DisplayMode::Text() const {
    return std::to_string(width) + "x" + std::to_string(height) + "x" +
           std::to_string(bitsPerPixel);
}

DisplayMode CurrentDisplayMode() {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return {};
    return {static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
            static_cast<int>(mode.dmBitsPerPel)};
}

bool PhotographScreen(int width, int height, hostkit::RgbImage* image) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = memory != nullptr && section != nullptr && bits != nullptr;
    if (ok) {
        HGDIOBJ previous = SelectObject(memory, section);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, previous);
    }
    if (ok) {
        image->width = width;
        image->height = height;
        image->pixels.resize(static_cast<std::size_t>(width) * height);
        const auto* pixel = static_cast<const BYTE*>(bits);
        for (hostkit::Rgb& out : image->pixels) {
            out = {pixel[2], pixel[1], pixel[0]};  // stored blue, green, red, unused
            pixel += 4;
        }
    }
    if (section != nullptr)
        DeleteObject(section);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace winhost
