// The image, the bars and the put.
#include "screensaver/window_painter.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstdlib>
#include <span>
#include <vector>

namespace saver {

WindowPainter::WindowPainter(SaverWindow& window) : window_(window), scaler_(window.format()) {
    Display* display = window_.display();
    gc_ = XCreateGC(display, window_.window(), 0, nullptr);
    // Shared memory is only there when the server runs on this machine.
    shmUsable_ = XShmQueryExtension(display) == True;
}

WindowPainter::~WindowPainter() {
    FreeImage();
    if (gc_ != nullptr)
        XFreeGC(window_.display(), gc_);
}

void WindowPainter::FreeImage() {
    if (image_ == nullptr)
        return;
    if (shared_) {
        XShmDetach(window_.display(), &segment_);
        XSync(window_.display(), False);
        image_->data = nullptr;
        XDestroyImage(image_);
        shmdt(segment_.shmaddr);
    } else {
        XDestroyImage(image_);  // frees the pixels too
    }
    image_ = nullptr;
    shared_ = false;
}

bool WindowPainter::MakeSharedImage(int width, int height) {
    Display* display = window_.display();
    image_ = XShmCreateImage(display, window_.visual(), static_cast<unsigned>(window_.depth()),
                             ZPixmap, nullptr, &segment_, static_cast<unsigned>(width),
                             static_cast<unsigned>(height));
    if (image_ == nullptr)
        return false;
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height,
                            IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    // Marked for removal at once: the segment goes when both sides let go, even after a crash.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (segment_.shmaddr == reinterpret_cast<char*>(-1)) {
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    image_->data = segment_.shmaddr;
    segment_.readOnly = False;
    TakeXErrorCount();
    XShmAttach(display, &segment_);
    XSync(display, False);
    if (TakeXErrorCount() > 0) {  // a server elsewhere, or one that refuses the segment
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
        shmdt(segment_.shmaddr);
        return false;
    }
    shared_ = true;
    return true;
}

bool WindowPainter::MakeImage(int width, int height, std::string* error) {
    FreeImage();
    if (shmUsable_ && !MakeSharedImage(width, height))
        shmUsable_ = false;  // and stays so: the next size would fail the same way
    if (image_ == nullptr) {
        Display* display = window_.display();
        image_ = XCreateImage(display, window_.visual(), static_cast<unsigned>(window_.depth()),
                              ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, 0);
        if (image_ != nullptr) {
            image_->data = static_cast<char*>(
                std::calloc(static_cast<std::size_t>(image_->bytes_per_line), height));
            // Our pixels are 32-bit values in this machine's order; Xlib swaps them if the
            // server wants the other order.
            image_->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
        }
    }
    if (image_ == nullptr || image_->data == nullptr || image_->bits_per_pixel != 32) {
        *error = window_.description() + ": no 32-bit image of " + std::to_string(width) + "x" +
                 std::to_string(height) + " can be made for it";
        FreeImage();
        return false;
    }
    return true;
}

void WindowPainter::PaintBars() {
    Display* display = window_.display();
    const Window window = window_.window();
    const int w = window_.width();
    const int h = window_.height();
    const hostkit::Box& p = place_;
    XSetForeground(display, gc_, 0);  // black in every true-colour visual
    if (p.y > 0)
        XFillRectangle(display, window, gc_, 0, 0, static_cast<unsigned>(w),
                       static_cast<unsigned>(p.y));
    if (p.y + p.height < h)
        XFillRectangle(display, window, gc_, 0, p.y + p.height, static_cast<unsigned>(w),
                       static_cast<unsigned>(h - p.y - p.height));
    if (p.x > 0)
        XFillRectangle(display, window, gc_, 0, p.y, static_cast<unsigned>(p.x),
                       static_cast<unsigned>(p.height));
    if (p.x + p.width < w)
        XFillRectangle(display, window, gc_, p.x + p.width, p.y,
                       static_cast<unsigned>(w - p.x - p.width), static_cast<unsigned>(p.height));
}

bool WindowPainter::Paint(const hostkit::RenderedFrame& frame, int serial, bool full,
                          std::string* error) {
    const hostkit::Box place =
        hostkit::Letterbox(window_.width(), window_.height(), frame.width, frame.height);
    if (place.empty())
        return true;  // nothing of the window is showing
    if (image_ == nullptr || place.width != image_->width || place.height != image_->height) {
        if (!MakeImage(place.width, place.height, error))
            return false;
        full = true;
    }
    if (!(place == place_))
        full = true;
    place_ = place;
    if (full)
        PaintBars();
    const hostkit::Box changed = scaler_.ScaleInto(frame, serial, place.width, place.height,
                                                   reinterpret_cast<std::uint32_t*>(image_->data),
                                                   image_->bytes_per_line / 4);
    // Most of a frame is the one before: only its changed bands travel to the server.
    const hostkit::Box whole{0, 0, place.width, place.height};
    const std::span<const hostkit::Box> parts =
        full              ? std::span<const hostkit::Box>(&whole, 1)
        : changed.empty() ? std::span<const hostkit::Box>()
                          : std::span<const hostkit::Box>(scaler_.changed());
    if (parts.empty())
        return true;
    Display* display = window_.display();
    for (const hostkit::Box& b : parts) {
        const auto w = static_cast<unsigned>(b.width), h = static_cast<unsigned>(b.height);
        if (shared_)
            XShmPutImage(display, window_.window(), gc_, image_, b.x, b.y, place.x + b.x,
                         place.y + b.y, w, h, False);
        else
            XPutImage(display, window_.window(), gc_, image_, b.x, b.y, place.x + b.x,
                      place.y + b.y, w, h);
    }
    if (shared_) {
        // The server reads the segment when it handles the request: wait for that before the
        // next frame is written into it.
        XSync(display, False);
    } else {
        XFlush(display);
    }
    return true;
}

void WindowPainter::PaintNotice(const std::vector<std::string>& lines) {
    Display* display = window_.display();
    const Window window = window_.window();
    const int w = window_.width();
    const int h = window_.height();
    place_ = {};  // the next frame paints its bars again
    XSetForeground(display, gc_, 0);
    XFillRectangle(display, window, gc_, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    const hostkit::PixelFormat format = window_.format();
    XSetForeground(display, gc_, format.redMask | format.greenMask | format.blueMask);
    // The server's default font, which every X server has built in.
    XFontStruct* font = XQueryFont(display, XGContextFromGC(gc_));
    const int ascent = font != nullptr ? font->ascent : 11;
    const int lineHeight = font != nullptr ? font->ascent + font->descent + 4 : 17;
    int y = (h - lineHeight * static_cast<int>(lines.size())) / 2 + ascent;
    for (const std::string& line : lines) {
        const int length = static_cast<int>(line.size());
        const int width = font != nullptr ? XTextWidth(font, line.c_str(), length) : 6 * length;
        XDrawString(display, window, gc_, (w - width) / 2 > 8 ? (w - width) / 2 : 8, y,
                    line.c_str(), length);
        y += lineHeight;
    }
    if (font != nullptr)
        XFreeFontInfo(nullptr, font, 1);
    XFlush(display);
}

}  // namespace saver
