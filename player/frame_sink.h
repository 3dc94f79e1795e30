// Presented frames as the offline renderer keeps them, and the places they are written to.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/ddraw.h"

namespace player {

inline constexpr int kFrameWidth = 640;
inline constexpr int kFrameHeight = 480;

// One presented frame: palette indices row after row (no padding) and the palette in force.
struct RenderedFrame {
    int width = kFrameWidth;
    int height = kFrameHeight;
    std::vector<BYTE> pixels = std::vector<BYTE>(kFrameWidth * kFrameHeight, 0);
    std::array<PALETTEENTRY, 256> palette{};
};

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // Writes frame number `frame`; returns an empty string or one line saying what failed.
    virtual std::string Write(int frame, const RenderedFrame& image) = 0;
    // Completes the output after the last frame written (also after an early stop).
    virtual std::string Finish() { return {}; }
};

// Keeps a copy of the latest frame the display presented, for as long as it lives.
class PresentedFrameCapture {
  public:
    PresentedFrameCapture();
    ~PresentedFrameCapture();
    PresentedFrameCapture(const PresentedFrameCapture&) = delete;
    PresentedFrameCapture& operator=(const PresentedFrameCapture&) = delete;

    // Before the module presents anything: a black frame with an all-black palette.
    const RenderedFrame& latest() const { return latest_; }
    int presentCount() const { return presentCount_; }

  private:
    RenderedFrame latest_;
    int presentCount_ = 0;
};

}  // namespace player
