// The host window and the keys that reach it.
#include "tools/winhost/host_window.h"

#include <cstdio>

namespace winhost {
namespace {

constexpr const char* kClassName = "TolvekWinHost";

}  // namespace

HostWindow::HostWindow(HostLog& log) : log_(log) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HostWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kClassName, "Tolvek test host", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                              120, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostWindow::~HostWindow() {
    if (window_ != nullptr)
        DestroyWindow(window_);
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && (message == WM_KEYDOWN || message == WM_KEYUP)) {
        ++self->keysForwarded_;
        char text[96];
        std::snprintf(text, sizeof text, "key forwarded to the host: %s 0x%02X",
                      message == WM_KEYDOWN ? "WM_KEYDOWN" : "WM_KEYUP",
                      static_cast<unsigned>(wParam));
        self->log_.Line(text);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winhost
