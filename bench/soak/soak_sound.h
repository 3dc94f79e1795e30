// The soak's sound: a deterministic waveform that keeps changing over hours of frames, with
// loud, quiet and silent stretches, so every loudness branch of the show gets its turn.
#pragma once

#include <cstdint>

#include "host/winamp_vis.h"

namespace soak {

// Fills both channels of waveformData for frame `frame` (signed bytes, as the player fills them).
void FillSoakWaveform(std::int64_t frame, winampVisModule& module);

}  // namespace soak
