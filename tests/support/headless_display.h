// A headless show window and Screen for tests, and helpers to read surfaces back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/screen.h"
#include "platform/host_services.h"
#include "platform/win32.h"

namespace testing_support {

// Registers a window class, opens a window and sets up a 640x480x8 Screen on it, headless.
// Message boxes are collected instead of shown.
class HeadlessDisplay {
public:
    explicit HeadlessDisplay(int width = 640, int height = 480);
    ~HeadlessDisplay();
    HeadlessDisplay(const HeadlessDisplay&) = delete;
    HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

    Screen& screen() { return *screen_; }
    HWND window() const { return window_; }
    const std::vector<std::string>& messageBoxes() const { return *boxes_; }
    // Pops every pending message; true if the quit request was among them.
    bool DrainQuitRequest();

private:
    HWND window_ = nullptr;
    std::unique_ptr<Screen> screen_;
    std::shared_ptr<std::vector<std::string>> boxes_;
    platform::ObserverHandle boxObserver_;
};

// Width x height palette indices of a surface, row after row, read through a lock.
std::vector<unsigned char> ReadPixels(Surface& surface);
// One pixel of a surface, read through a lock; -1 when it cannot be read.
int PixelAt(Surface& surface, int x, int y);
// Starts the platform headless; call before any display use (done by HeadlessDisplay).
void UseHeadlessPlatform();

}  // namespace testing_support
