// Finding, making and watching the window.
#include "screensaver/saver_window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace saver {
namespace {

int xErrors = 0;

int CountError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

int LostDisplay(Display*) {
    // Xlib cannot go on without its connection; the show cannot be ended more cleanly.
    std::fputs("tolvek-screensaver: the X display went away\n", stderr);
    std::_Exit(1);
}

std::string Hex(unsigned long id) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%lx", id);
    return text;
}

std::optional<unsigned long> WindowFromEnvironment() {
    const char* text = std::getenv("XSCREENSAVER_WINDOW");
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long id = std::strtoul(text, &end, 0);
    if (*end != '\0' || id == 0) {
        std::fprintf(stderr, "tolvek-screensaver: XSCREENSAVER_WINDOW=%s is not a window id\n",
                     text);
        return std::nullopt;
    }
    return id;
}

}  // namespace

int TakeXErrorCount() {
    const int count = xErrors;
    xErrors = 0;
    return count;
}

std::unique_ptr<SaverWindow> SaverWindow::Open(const SaverOptions& options, std::string* error) {
    std::unique_ptr<SaverWindow> window(new SaverWindow());
    const char* name = options.display.empty() ? nullptr : options.display.c_str();
    window->display_ = XOpenDisplay(name);
    if (window->display_ == nullptr) {
        const char* shown = name != nullptr ? name : std::getenv("DISPLAY");
        *error = std::string("cannot open the X display ") +
                 (shown != nullptr && *shown != '\0' ? shown : "(DISPLAY is not set)");
        return nullptr;
    }
    XSetErrorHandler(&CountError);
    XSetIOErrorHandler(&LostDisplay);
    Display* display = window->display_;
    switch (options.target) {
        case Target::WindowId:
            window->description_ = "window " + Hex(options.windowId);
            if (!window->Attach(options.windowId, error))
                return nullptr;
            break;
        case Target::Root:
        case Target::Automatic: {
            // XScreenSaver names its window in the environment; that is the hack's root.
            if (auto id = WindowFromEnvironment()) {
                window->description_ = "window " + Hex(*id) + " (XScreenSaver's)";
                if (!window->Attach(*id, error))
                    return nullptr;
            } else if (options.target == Target::Root) {
                const Window root = DefaultRootWindow(display);
                window->description_ = "the root window " + Hex(root);
                if (!window->Attach(root, error))
                    return nullptr;
            } else if (!window->CreateOwn(error)) {
                return nullptr;
            }
            break;
        }
        case Target::OwnWindow:
            if (!window->CreateOwn(error))
                return nullptr;
            break;
    }
    return window;
}

SaverWindow::~SaverWindow() {
    if (display_ == nullptr)
        return;
    if (own_ && !destroyed_)
        XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

bool SaverWindow::Attach(Window window, std::string* error) {
    XWindowAttributes attributes{};
    TakeXErrorCount();
    if (XGetWindowAttributes(display_, window, &attributes) == 0 || TakeXErrorCount() > 0) {
        *error = description_ + " does not exist";
        return false;
    }
    window_ = window;
    visual_ = attributes.visual;
    depth_ = attributes.depth;
    width_ = attributes.width;
    height_ = attributes.height;
    // Another client's window: watching its size and exposure does not disturb its owner.
    XSelectInput(display_, window_, StructureNotifyMask | ExposureMask);
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(visual_);
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display_, VisualIDMask, &wanted, &count);
    const bool trueColor = info != nullptr && count > 0 && info->c_class == TrueColor;
    if (trueColor) {
        format_.opaqueBits = 0;  // a 24-bit visual's top byte is padding
        format_.redMask = static_cast<std::uint32_t>(info->red_mask);
        format_.greenMask = static_cast<std::uint32_t>(info->green_mask);
        format_.blueMask = static_cast<std::uint32_t>(info->blue_mask);
        if (depth_ == 32)
            format_.opaqueBits = ~(format_.redMask | format_.greenMask | format_.blueMask);
    }
    if (info != nullptr)
        XFree(info);
    if (!trueColor || depth_ < 15) {
        *error = description_ + " has a " + std::to_string(depth_) +
                 "-bit visual without true colour; the show is drawn in 24 or 32 bits";
        return false;
    }
    return true;
}

bool SaverWindow::CreateOwn(std::string* error) {
    Display* display = display_;
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                        hostkit::kFrameWidth, hostkit::kFrameHeight, 0,
                                        BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "Quenari Tolvek");
    XClassHint hint{};
    char name[] = "tolvek-screensaver";
    char className[] = "Tolvek-screensaver";
    hint.res_name = name;
    hint.res_class = className;
    XSetClassHint(display, window, &hint);
    deleteWindow_ = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow_, 1);
    own_ = true;
    description_ = "a window of its own " + Hex(window);
    if (!Attach(window, error))
        return false;
    XSelectInput(display, window, StructureNotifyMask | ExposureMask | KeyPressMask);
    XMapWindow(display, window);
    XFlush(display);
    return true;
}

int SaverWindow::connection() const {
    return ConnectionNumber(display_);
}

bool SaverWindow::TakeFullPaint() {
    const bool full = fullPaint_;
    fullPaint_ = false;
    return full;
}

void SaverWindow::HandleEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        switch (event.type) {
            case ConfigureNotify:
                if (event.xconfigure.window == window_ &&
                    (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
                    width_ = event.xconfigure.width;
                    height_ = event.xconfigure.height;
                    fullPaint_ = true;
                }
                break;
            case Expose:
                if (event.xexpose.count == 0)
                    fullPaint_ = true;
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == window_)
                    destroyed_ = gone_ = true;
                break;
            case ClientMessage:
                if (own_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
                    gone_ = true;
                break;
            case KeyPress: {
                // In a window of its own, as XScreenSaver's hacks do: q or Escape closes it.
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (own_ && (key == XK_q || key == XK_Q || key == XK_Escape))
                    gone_ = true;
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace saver
