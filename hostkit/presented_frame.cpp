// Copying presented frames out of the display services.
#include "hostkit/presented_frame.h"

#include <cstring>

namespace hostkit {

PresentedFrameCapture::PresentedFrameCapture() {
    presents_ = platform::AddPresentObserver([this](const platform::PresentedFrame& presented) {
        if (presented.width <= 0 || presented.height <= 0 || presented.pixels == nullptr)
            return;
        latest_.width = presented.width;
        latest_.height = presented.height;
        presented.CopyPixels(latest_.pixels);
        std::memcpy(latest_.palette.data(), presented.palette, sizeof(PALETTEENTRY) * 256);
        ++presentCount_;
    });
}

}  // namespace hostkit
