// The frame the display presented last, copied out for hosts that show, save or compare it.
#pragma once

#include <array>
#include <vector>

#include "platform/ddraw.h"
#include "platform/host_services.h"

namespace hostkit {

inline constexpr int kFrameWidth = 640;
inline constexpr int kFrameHeight = 480;

// One presented frame: palette indices row after row (no padding) and the palette in force.
struct RenderedFrame {
    int width = kFrameWidth;
    int height = kFrameHeight;
    std::vector<BYTE> pixels = std::vector<BYTE>(kFrameWidth * kFrameHeight, 0);
    std::array<PALETTEENTRY, 256> palette{};
};

// Keeps a copy of the latest frame the display presented, for as long as it lives.
class PresentedFrameCapture {
  public:
    PresentedFrameCapture();
    PresentedFrameCapture(const PresentedFrameCapture&) = delete;
    PresentedFrameCapture& operator=(const PresentedFrameCapture&) = delete;

    // Before the module presents anything: a black frame with an all-black palette.
    const RenderedFrame& latest() const { return latest_; }
    int presentCount() const { return presentCount_; }

  private:
    RenderedFrame latest_;
    int presentCount_ = 0;
    platform::ObserverHandle presents_;
};

}  // namespace hostkit
