// The tune the player plays when it is given no sound: synthesized in code, the same every run.
#pragma once

#include <memory>

#include "hostkit/sound_track.h"

namespace hostkit {

inline constexpr int kTuneSampleRate = 44100;
inline constexpr int kTuneBars = 48;
inline constexpr double kTuneBarSeconds = 2.0;  // 120 beats a minute, four to a bar

// 96 seconds in stereo: drums, bass, a melody and a quiet break, so every phase of the show
// has loud and soft passages to react to.
std::unique_ptr<MemoryTrack> MakeBuiltinTune();

}  // namespace hostkit
