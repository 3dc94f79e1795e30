// Frame-counted positions in a sound.
#include "hostkit/desktop/frame_sound.h"

namespace hostkit {

long long FirstSoundFrame(int renderIndex, int delayMs, int latencyMs, int sampleRate) {
    const long long ms = static_cast<long long>(renderIndex - 1) * delayMs + latencyMs;
    return ms * sampleRate / 1000;
}

hostkit::SoundWindow SoundAt(const Sound* sound, int renderIndex, int delayMs, int latencyMs) {
    hostkit::SoundWindow window;
    if (sound == nullptr || sound->channels < 1)
        return window;
    window.channels = sound->channels;
    const long long first = FirstSoundFrame(renderIndex, delayMs, latencyMs, sound->sampleRate);
    if (first < 0 || first >= sound->frames())
        return window;
    window.samples = sound->samples.data() + first * sound->channels;
    window.frames = static_cast<int>(sound->frames() - first);
    return window;
}

SoundFormat FormatOf(const Sound* sound) {
    if (sound == nullptr)
        return {};
    return {sound->sampleRate, sound->channels};
}

}  // namespace hostkit
