// The figure act: a large figure that stretches with the loudness, three small bouncing copies,
// the particle fountain and a trace.
#include "effects/particle_swarm.h"
#include "effects/wave_scope.h"
#include "figures/figure.h"
#include "graphics/screen.h"
#include "show/show_state.h"

namespace {

// Two velocity steps a frame; on the frame the upper bound is passed only one.
void MoveFlock(int& position, int& velocity, int upper, int lower) {
    position += velocity;
    if (position > upper) {
        velocity = -10;
    } else {
        position += velocity;
        if (position < lower) velocity = 10;
    }
}

}  // namespace

void FigureActFrame(winampVisModule* module) {
    ShowState& s = showState;
    s.screen->Clear(0);
    for (int i = 0; i < 3; ++i) {
        MoveFlock(s.flockX[i], s.flockVX[i], 600, 40);
        MoveFlock(s.flockY[i], s.flockVY[i], 450, 40);
    }
    s.figures[s.scene]->x = 340;
    s.figures[s.scene]->y = 250;

    const float xs = static_cast<float>(AudioLevel(module, 0) * 3.0);
    float ys = xs;
    const int f = s.frameCounter;
    if (f >= 401 && f <= 419) {
        ys = xs / static_cast<float>(f - 400);  // the figure flattens
    } else if (f == 420) {
        s.scene += 1;
        if (s.scene == 4) {
            s.scene = 0;
            s.colourShift += 1;
            if (s.colourShift > 6) s.colourShift = 0;
            s.act = 0;
            s.frameCounter = 0;
        }
    } else if (f >= 421 && f <= 439) {
        ys = xs / static_cast<float>(440 - f);  // the next one unfolds
    } else if (f == 440) {
        s.frameCounter = 0;
    }

    s.swarm->Update();
    s.swarm->Draw();
    s.figures[s.scene]->Draw(xs, ys, ShowState::colourTable[s.scene] + s.colourShift);
    for (int i = 0; i < 3; ++i) {
        s.figures[0]->x = s.flockX[i];
        s.figures[0]->y = s.flockY[i];
        const float scale = static_cast<float>(0.5 + 0.1 * i);
        s.figures[0]->Draw(scale, scale, ShowState::colourTable[0] + i);
    }
    s.scope->DrawTrace(TraceModule(), 640, 100, ShowState::colourTable[4] + s.colourShift, 2);
    s.screen->Present();
}
