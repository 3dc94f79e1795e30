// SDL audio in queue mode: the host loop pushes sound, so no callback shares its state.
#include "player/sound/audio_output.h"

#include <SDL2/SDL.h>

#include <fstream>
#include <string>

namespace player {
namespace {

bool HasSoundCard() {
    std::ifstream cards("/proc/asound/cards");
    std::string first;
    return cards && std::getline(cards, first) && first.find("no soundcards") == std::string::npos;
}

}  // namespace

AudioOutput::~AudioOutput() {
    Close();
}

bool AudioOutput::Open(int sampleRate, int channels, std::string* error) {
    if (device_ != 0 && sampleRate == sampleRate_ && channels == channels_) {
        Clear();
        return true;
    }
    Close();
    // Without a sound card ALSA has nothing to offer but pages of complaints: ask only the
    // sound server then.
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && !HasSoundCard()) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "pulseaudio");
    }
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *error = SDL_GetError();
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    // About 20 ms per device buffer at any rate, a power of two.
    int frames = 256;
    while (frames * 50 < sampleRate)
        frames *= 2;
    wanted.samples = static_cast<Uint16>(frames);
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts the rate and format to the device's itself.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        *error = SDL_GetError();
        return false;
    }
    sampleRate_ = sampleRate;
    channels_ = channels;
    bufferFrames_ = obtained.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void AudioOutput::Close() {
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
    sampleRate_ = 0;
    channels_ = 0;
}

void AudioOutput::Queue(const std::int16_t* samples, int frames) {
    if (device_ == 0 || frames <= 0)
        return;
    SDL_QueueAudio(device_, samples,
                   static_cast<Uint32>(frames) * static_cast<Uint32>(channels_) * 2u);
}

void AudioOutput::Clear() {
    if (device_ != 0)
        SDL_ClearQueuedAudio(device_);
}

int AudioOutput::QueuedFrames() const {
    if (device_ == 0)
        return 0;
    return static_cast<int>(SDL_GetQueuedAudioSize(device_) /
                            (2u * static_cast<Uint32>(channels_)));
}

}  // namespace player
