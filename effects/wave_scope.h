// WaveScope: oscilloscope pictures of the host's waveform, a horizontal trace and a ring.
#pragma once

#include <array>

#include "effects/effect_constants.h"
#include "platform/ddraw.h"

class Screen;
class Surface;
struct winampVisModule;

class WaveScope {
  public:
    // Fills the tables; all trigonometry happens here.
    explicit WaveScope(Screen* screen);

    // One band per channel, each a polyline over the channel's 576 samples stretched across
    // width pixels, thickness parallel lines per segment; band c starts at (2c + 1) * baseY.
    void DrawTrace(const winampVisModule* module, int width, int baseY, int colour, int thickness);
    // The first 360 samples of channel 0 as distances from the centre, one per degree, on the
    // back buffer; line k of every segment takes colours[k].
    void DrawRing(const winampVisModule* module, int centreX, int centreY, const int* colours,
                  int thickness);
    // The ring on any surface; the result of its final unlock.
    HRESULT DrawRingOn(Surface* target, const winampVisModule* module, int centreX, int centreY,
                       const int* colours, int thickness);

    Screen* screen = nullptr;  // not owned
    std::array<float, kRingSamples> sinTable{};
    std::array<float, kRingSamples> cosTable{};
};
