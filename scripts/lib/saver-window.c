/* A bare X window for the screensaver test to hand the hack with -window-id, as XScreenSaver's
 * settings dialog hands it its preview: grey, so black bars painted by the hack show, and alive
 * until the test ends it. Prints the window's id once it is mapped.
 * Usage: saver-window WIDTH HEIGHT */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fputs("saver-window: no X display\n", stderr);
        return 1;
    }
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                        (unsigned)atoi(argv[1]), (unsigned)atoi(argv[2]), 0, 0,
                                        0x808080);
    XStoreName(display, window, "saver-window");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            printf("0x%lx\n", window);
            fflush(stdout);
        }
    }
}
