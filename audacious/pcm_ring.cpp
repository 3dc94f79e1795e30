// The ring of recent frames.
#include "audacious/pcm_ring.h"

#include <algorithm>

namespace audacious {

void PcmRing::Push(const float* pcm, int frames, int channels) {
    if (pcm == nullptr || frames <= 0 || channels <= 0)
        return;
    const int kept = std::min(channels, 2);
    if (kept != channels_) {
        Clear();
        channels_ = kept;
    }
    // Only the newest frames can ever be shown.
    const int skip = std::max(0, frames - kCapacityFrames);
    for (int f = skip; f < frames; ++f) {
        const float* frame = pcm + static_cast<std::ptrdiff_t>(f) * channels;
        for (int c = 0; c < kept; ++c)
            ring_[static_cast<std::size_t>(next_ * 2 + c)] = hostkit::FloatToSample16(frame[c]);
        next_ = (next_ + 1) % kCapacityFrames;
    }
    held_ = std::min(kCapacityFrames, held_ + frames - skip);
}

void PcmRing::Clear() {
    next_ = 0;
    held_ = 0;
}

hostkit::SoundWindow PcmRing::Window() {
    hostkit::SoundWindow sound;
    sound.channels = channels_;
    const int frames = std::min(held_, kBlockFrames);
    if (frames == 0)
        return sound;  // silence
    const int first = (next_ - frames + kCapacityFrames) % kCapacityFrames;
    for (int f = 0; f < kWindowFrames; ++f) {
        // Whole numbers: frame f of the window shows frame f * frames / 576 of the block.
        const int slot = (first + f * frames / kWindowFrames) % kCapacityFrames;
        for (int c = 0; c < channels_; ++c) {
            window_[static_cast<std::size_t>(f * channels_ + c)] =
                ring_[static_cast<std::size_t>(slot * 2 + c)];
        }
    }
    sound.samples = window_.data();
    sound.frames = kWindowFrames;
    return sound;
}

}  // namespace audacious
