// The show's counters as a freshly loaded module has them. Init never resets them, so tests and
// benchmarks that load the module once start each run from here.
#pragma once

#include "show/show_state.h"

namespace testing_support {

inline void ResetLoadTimeCounters(ShowState& s) {
    s.frameCounter = s.scene = s.act = s.colourShift = 0;
    s.treeDepth = 1;
    s.treeUnit = 5;
    for (int i = 0; i < 3; ++i)
        s.flockVX[i] = s.flockVY[i] = 10;
}

}  // namespace testing_support
