// Painting presented frames into the window: the frame scaled into a 32-bit image of the size
// it is shown at, put with MIT-SHM when the server shares memory with us (a full-screen frame
// does not then travel through the socket forty times a second), with XPutImage otherwise, and
// black bars around it.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <string>
#include <vector>

#include "hostkit/presented_frame.h"
#include "hostkit/scaled_frame.h"
#include "screensaver/saver_window.h"

namespace saver {

class WindowPainter {
  public:
    explicit WindowPainter(SaverWindow& window);
    ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    // Draws frame number `serial` fitted to the window's present size: the parts that changed
    // since the last, or with `full` all of it and the bars. False (and `error`) when no image
    // can be made for this window.
    bool Paint(const hostkit::RenderedFrame& frame, int serial, bool full, std::string* error);
    bool sharedMemory() const { return shared_; }
    // What the hack says instead of a black screen when it cannot show the show: the lines
    // centred in the window's own font, white on black.
    void PaintNotice(const std::vector<std::string>& lines);

  private:
    bool MakeImage(int width, int height, std::string* error);
    bool MakeSharedImage(int width, int height);
    void FreeImage();
    void PaintBars();

    SaverWindow& window_;
    hostkit::ScaledFrame scaler_;
    GC gc_ = nullptr;
    bool shmUsable_ = false;
    bool shared_ = false;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    hostkit::Box place_;
};

}  // namespace saver
