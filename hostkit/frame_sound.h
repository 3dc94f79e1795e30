// The sound a frame-exact host hands the module before each Render: time advances by delayMs
// per frame instead of following a clock, so two hosts give frame N the same sound.
#pragma once

#include "hostkit/wav_sound.h"
#include "hostkit/waveform.h"

namespace hostkit {

// The first sound frame for the renderIndex-th Render (1 for the first): the moment
// (renderIndex - 1) x delayMs + latencyMs milliseconds into the sound.
long long FirstSoundFrame(int renderIndex, int delayMs, int latencyMs, int sampleRate);

// The stretch from FirstSoundFrame on: null samples (silence) without sound or past its end.
hostkit::SoundWindow SoundAt(const Sound* sound, int renderIndex, int delayMs, int latencyMs);

// The module's rate and channels: the sound's, or 44.1 kHz stereo for silence.
void FillFormat(const Sound* sound, winampVisModule& module);
// The waveform and spectrum for the renderIndex-th Render, at the module's delay and latency.
void FillSoundAt(const Sound* sound, int renderIndex, winampVisModule& module);

}  // namespace hostkit
