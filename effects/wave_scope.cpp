// The waveform scopes: the float tables, the horizontal trace with its accumulator, and the ring.
#include "effects/wave_scope.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/screen.h"
#include "host/winamp_vis.h"

namespace {

// Sample bytes are signed values stored unsigned; flipping the top bit puts silence (0x00) at 128.
int DrawingValue(unsigned char sample) {
    return sample ^ 0x80;
}

// Truncation toward zero, never rounding.
int Truncate(double value) {
    return static_cast<int>(value);
}

}  // namespace

WaveScope::WaveScope(Screen* owner) : screen(owner) {
    for (int i = 0; i < kRingSamples; ++i) {
        const double angle = i * kShowDegree;
        sinTable[i] = static_cast<float>(std::sin(angle));
        cosTable[i] = static_cast<float>(std::cos(angle));
    }
}

void WaveScope::DrawTrace(const winampVisModule* module, int width, int baseY, int colour,
                          int thickness) {
    // Wider than the screen would wrap the unsigned centring shift to a far-off x; draw it
    // across the screen instead.
    width = std::min(width, screen->width);

    int step = 1;
    float frac = 0.0f;
    if (width > kWaveformSamples) {
        step = width / kWaveformSamples;
        frac = static_cast<float>(width * kOneOverWaveformSamples - step);
    }
    // One accumulator for the whole call: channel 1 inherits what channel 0 left in it, so its
    // first segment can be two pixels wide. Intended.
    float acc = 0.0f;

    Surface* target = screen->backBuffer;
    target->Lock();
    // The record holds two channels whatever nCh claims.
    const int channels = std::min(module->nCh, kWaveformChannels);
    int base = baseY;
    for (int c = 0; c < channels; ++c) {
        const unsigned char* samples = module->waveformData[c];
        const int x0 = static_cast<int>(
            (static_cast<std::uint32_t>(screen->width) - static_cast<std::uint32_t>(width)) >> 1);
        const int xEnd = x0 + width;
        int prevY = base + DrawingValue(samples[0]);
        int x = x0;
        int j = 1;
        // The x test comes before each segment, so a narrow band ends one pixel past xEnd.
        while (x <= xEnd) {
            int nx = x + step;
            if (frac != 0.0f) {
                const double sum = static_cast<double>(acc) + static_cast<double>(frac);
                acc = static_cast<float>(sum);
                if (sum >= 1.0) {
                    acc = 0.0f;
                    ++nx;
                }
            }
            const int curY = base + DrawingValue(samples[j]);
            for (int k = 0; k < thickness; ++k) {
                target->DrawLine(x, prevY + k, nx, curY + k, colour);
            }
            x = nx;
            ++j;
            prevY = curY;
            if (j >= kWaveformSamples)
                break;
        }
        // Bands are two baseY apart, so the second starts at 3 * baseY.
        base += 2 * baseY;
    }
    target->Unlock();
}

void WaveScope::DrawRing(const winampVisModule* module, int centreX, int centreY,
                         const int* colours, int thickness) {
    DrawRingOn(screen->backBuffer, module, centreX, centreY, colours, thickness);
}

HRESULT WaveScope::DrawRingOn(Surface* target, const winampVisModule* module, int centreX,
                              int centreY, const int* colours, int thickness) {
    target->Lock();
    const float cx = static_cast<float>(centreX);
    const float cy = static_cast<float>(centreY);
    const unsigned char* samples = module->waveformData[0];
    // The tables' tiny entries at 90, 180 and 270 degrees are kept: the 270-degree point lands
    // one pixel left of the centre column. Intended.
    auto pointX = [&](int i) {
        return Truncate(static_cast<double>(cx) +
                        DrawingValue(samples[i]) * static_cast<double>(cosTable[i]));
    };
    auto pointY = [&](int i) {
        return Truncate(static_cast<double>(cy) +
                        DrawingValue(samples[i]) * static_cast<double>(sinTable[i]));
    };
    int prevY = pointY(0);
    int prevX = pointX(0);
    // 359 segments: the ring stays open between 359 and 0 degrees. Intended.
    for (int i = 1; i < kRingSamples; ++i) {
        const int y = pointY(i);
        const int x = pointX(i);
        for (int k = 0; k < thickness; ++k) {
            target->DrawLine(prevX, prevY + k, x, y + k, colours[k]);
        }
        prevX = x;
        prevY = y;
    }
    return target->Unlock();
}
