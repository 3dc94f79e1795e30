// Shared internals of the portable platform: windows, presenters and the display state.
#pragma once

#include <memory>
#include <string>

#include "platform/ddraw.h"
#include "platform/portable/backend.h"
#include "platform/host_services.h"

namespace platform::detail {

struct Window {
    std::string className;
    std::string title;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer{};  // screen coordinates
    LONG_PTR userData = 0;
    bool visible = false;
    std::unique_ptr<Presenter> presenter;
};

Window* FindWindow(HWND handle);
RECT NonClientFrame(DWORD style);
// The system moved the shown window: its outer rectangle follows and WM_MOVE is posted.
void WindowMoved(HWND handle);

// Lost surfaces after the window system took the display away.
void MarkDisplayLost();

// The presenter of a window, opened on first use; null when headless.
Presenter* PresenterFor(HWND handle, int width, int height, bool fullScreen);

bool FaultInjected(const char* operation, HRESULT* code);
void NotifyPresented(const PresentedFrame& frame);
bool VsyncWanted();

}  // namespace platform::detail
