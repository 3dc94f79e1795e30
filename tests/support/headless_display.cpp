// A headless show window and Screen for tests.
#include "tests/support/headless_display.h"

#include "platform/host_services.h"
#include "tests/support/host_window.h"

namespace testing_support {
namespace {

constexpr const char* kClassName = "TolvekTestWindow";

LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void UseHeadlessPlatform() { platform::SetDisplayPreference(platform::DisplayPreference::Headless); }

HeadlessDisplay::HeadlessDisplay(int width, int height)
    : boxes_(std::make_shared<std::vector<std::string>>()) {
    UseHeadlessPlatform();
    auto boxes = boxes_;
    boxObserver_ = platform::AddMessageBoxObserver([boxes](const char* caption, const char* text) {
        boxes->push_back(std::string(caption) + "|" + text);
    });
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kClassName, "test", WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
                              CW_USEDEFAULT, width, height, nullptr, nullptr, nullptr, nullptr);
    screen_ = std::make_unique<Screen>();
    screen_->Create(window_, width, height, 8, 0);
}

HeadlessDisplay::~HeadlessDisplay() {
    screen_.reset();
    DestroyWindow(window_);
    UnregisterClassA(kClassName, nullptr);
    DrainQuitRequest();
    boxObserver_.Reset();
    platform::ClearDisplayFaults();
}

bool HeadlessDisplay::DrainQuitRequest() {
    return DiscardMessages();
}

std::vector<unsigned char> ReadPixels(Surface& surface) {
    std::vector<unsigned char> pixels;
    if (surface.Lock() != DD_OK) return pixels;
    const auto* base = static_cast<const unsigned char*>(surface.desc.lpSurface);
    const int width = static_cast<int>(surface.desc.dwWidth);
    const int height = static_cast<int>(surface.desc.dwHeight);
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        pixels.insert(pixels.end(), base + y * surface.desc.lPitch,
                      base + y * surface.desc.lPitch + width);
    }
    surface.Unlock();
    return pixels;
}

int PixelAt(Surface& surface, int x, int y) {
    if (surface.Lock() != DD_OK) return -1;
    int value = -1;
    if (x >= 0 && y >= 0 && x < static_cast<int>(surface.desc.dwWidth) &&
        y < static_cast<int>(surface.desc.dwHeight)) {
        value = static_cast<const unsigned char*>(surface.desc.lpSurface)[y * surface.desc.lPitch + x];
    }
    surface.Unlock();
    return value;
}

}  // namespace testing_support
