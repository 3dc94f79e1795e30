// Copying presented frames out of the display services.
#include <cstring>

#include "platform/host_services.h"
#include "player/frame_sink.h"

namespace player {

PresentedFrameCapture::PresentedFrameCapture() {
    platform::SetPresentObserver([this](const platform::PresentedFrame& presented) {
        if (presented.width <= 0 || presented.height <= 0 || presented.pixels == nullptr)
            return;
        latest_.width = presented.width;
        latest_.height = presented.height;
        latest_.pixels.resize(static_cast<std::size_t>(presented.width) * presented.height);
        for (int y = 0; y < presented.height; ++y) {
            std::memcpy(latest_.pixels.data() + static_cast<std::size_t>(y) * presented.width,
                        presented.pixels + static_cast<std::ptrdiff_t>(y) * presented.pitch,
                        static_cast<std::size_t>(presented.width));
        }
        std::memcpy(latest_.palette.data(), presented.palette, sizeof(PALETTEENTRY) * 256);
        ++presentCount_;
    });
}

PresentedFrameCapture::~PresentedFrameCapture() {
    platform::SetPresentObserver(nullptr);
}

}  // namespace player
