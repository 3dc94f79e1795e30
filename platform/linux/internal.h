// Shared internals of the Linux platform: windows, presenters and the display state.
#pragma once

#include <memory>
#include <string>

#include "platform/ddraw.h"
#include "platform/host_services.h"

namespace platform::detail {

class Presenter;

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
HWND HandleOfPresenterWindow(unsigned sdlWindowId);
RECT NonClientFrame(DWORD style);

// The SDL side: true when SDL's video subsystem is up and a window system answered.
bool EnsureVideo();
void PumpSystemEvents();

// Lost surfaces after the window system took the display away.
void MarkDisplayLost();

// The presenter of a window, opened on first use; null when headless.
Presenter* PresenterFor(HWND handle, int width, int height, bool fullScreen);

bool FaultInjected(const char* operation, HRESULT* code);
void NotifyPresented(const PresentedFrame& frame);
bool VsyncWanted();

}  // namespace platform::detail
