// The sound a frame-exact host hands the module before each Render: time advances by delayMs
// per frame instead of following a clock, so two hosts give frame N the same sound.
#pragma once

#include "hostkit/desktop/wav_sound.h"
#include "hostkit/host_loop.h"
#include "hostkit/waveform.h"

namespace hostkit {

// The first sound frame for the renderIndex-th Render (1 for the first): the moment
// (renderIndex - 1) x delayMs + latencyMs milliseconds into the sound.
long long FirstSoundFrame(int renderIndex, int delayMs, int latencyMs, int sampleRate);

// The stretch from FirstSoundFrame on: null samples (silence) without sound or past its end.
hostkit::SoundWindow SoundAt(const Sound* sound, int renderIndex, int delayMs, int latencyMs);

// The sound's rate and channels, or 44.1 kHz stereo for silence.
SoundFormat FormatOf(const Sound* sound);

}  // namespace hostkit
