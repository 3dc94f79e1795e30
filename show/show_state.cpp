// The ShowState, the frame step and the audio level.
#include "show/show_state.h"

#include "effects/animated_sprite.h"
#include "effects/fractal_tree.h"
#include "effects/particle_swarm.h"
#include "effects/pixel_field.h"
#include "effects/wave_scope.h"
#include "figures/figure.h"
#include "graphics/screen.h"

ShowState showState;

ShowState::ShowState() = default;
ShowState::~ShowState() = default;

int RenderFrame(winampVisModule* module) {
    showState.frameCounter += 1;
    if (showState.act == 0) {
        ImageActFrame(module);
    } else if (showState.act == 1) {
        FigureActFrame(module);
    }
    return 0;
}

double AudioLevel(const winampVisModule* module, int channel) {
    // Bytes are read as unsigned values here, unlike the scopes: the show's movement depends on it.
    const unsigned char* samples = module->waveformData[channel];
    int sum = 0;
    for (int i = 1; i < kWaveformSamples; ++i) {
        int step = samples[i - 1] - samples[i];
        sum += step < 0 ? -step : step;
    }
    int q = sum / 288;
    if (q > 127) q = 127;
    return q * 0.007874015748031496;
}
