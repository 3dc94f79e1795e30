// What a back-end (SDL on the desktop, the browser on the web) gives the portable platform: a
// place to show frames, the system's events, message boxes and the module's file name.
// Call order: EnsureVideo before OpenPresenter; PumpSystemEvents runs inside PeekMessageA and
// turns the system's events into posted messages through the window layer.
#pragma once

#include <memory>
#include <string>

#include "platform/ddraw.h"

namespace platform::detail {

// Shows a window's 8-bit frames on the system's display.
class Presenter {
  public:
    virtual ~Presenter() = default;
    // The frame through the palette, scaled to the shown area with its aspect kept.
    virtual void Present(const BYTE* pixels, int pitch, int width, int height,
                         const PALETTEENTRY* palette) = 0;
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual bool fullScreen() const = 0;
    // The shown area's top-left corner on the screen; false where the system does not say.
    virtual bool Position(int& x, int& y) const = 0;
    virtual void Minimise() = 0;
};

// True when the system's display answered; false for good once it did not, or after
// StayHeadless.
bool EnsureVideo();
void StayHeadless();
void PumpSystemEvents();
// A presenter for the window `handle`, or null when the system refuses one.
std::unique_ptr<Presenter> OpenPresenter(HWND handle, const char* title, int width, int height,
                                         bool fullScreen, bool vsync);
// A message box of the system, owned by `owner`'s shown window where it has one; false when
// none could be shown.
bool ShowMessageBox(HWND owner, const char* caption, const char* text, UINT type);
// The file name of the running program (module null) or of the module holding the address.
bool ModuleFileName(HMODULE module, std::string& path);

}  // namespace platform::detail
