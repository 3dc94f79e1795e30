// What the display shows: its mode, and a photograph of the screen through GDI. In an 8-bit
// mode GDI converts the screen's palette indices through the palette in force, so the colours
// are the ones a person sees.
#pragma once

#include <string>

#include "hostkit/desktop/frame_image.h"
#include "platform/win32.h"

namespace winhost {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool operator==(const DisplayMode&) const = default;
    std::string Text() const;
};

// The current mode of the primary display; all zero when the system does not say.
DisplayMode CurrentDisplayMode();

// The top-left width x height of the screen; false when GDI refuses a step.
bool PhotographScreen(int width, int height, hostkit::RgbImage* image);

}  // namespace winhost
