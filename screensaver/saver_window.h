// The X window the show is drawn into: the one XScreenSaver hands the hack, the one given by
// -window-id, the (virtual) root, or a window of its own; with its size followed through the
// events the window sends.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "hostkit/scaled_frame.h"
#include "screensaver/saver_options.h"

namespace saver {

class SaverWindow {
  public:
    // Connects to the display and finds or makes the window; null with a one-line reason.
    static std::unique_ptr<SaverWindow> Open(const SaverOptions& options, std::string* error);
    ~SaverWindow();
    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    // Handles every event that has arrived.
    void HandleEvents();
    // The window was destroyed, or (a window of its own) closed by its user.
    bool gone() const { return gone_; }
    // Resized or uncovered since the last call: the next paint repaints it whole.
    bool TakeFullPaint();

    Display* display() const { return display_; }
    Window window() const { return window_; }
    Visual* visual() const { return visual_; }
    int depth() const { return depth_; }
    hostkit::PixelFormat format() const { return format_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int connection() const;
    // "window 0x1a00003 (XScreenSaver's)" and the like, for the log.
    const std::string& description() const { return description_; }

  private:
    SaverWindow() = default;
    bool Attach(Window window, std::string* error);
    bool CreateOwn(std::string* error);

    Display* display_ = nullptr;
    Window window_ = 0;
    bool own_ = false;
    Atom deleteWindow_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    hostkit::PixelFormat format_;
    int width_ = 0;
    int height_ = 0;
    bool gone_ = false;
    bool destroyed_ = false;
    bool fullPaint_ = true;
    std::string description_;
};

// Errors the server reports about a window or image (BadWindow when the window went away,
// BadAccess when shared memory cannot be attached) are counted here instead of ending the
// program, as Xlib's default handler would.
int TakeXErrorCount();

}  // namespace saver
