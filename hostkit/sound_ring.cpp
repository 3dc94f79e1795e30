// The ring of recent sound.
#include "hostkit/sound_ring.h"

#include <algorithm>

namespace hostkit {

SoundRing::SoundRing(int capacityFrames)
    : capacity_(std::max(capacityFrames, kWaveformSamples)),
      ring_(static_cast<std::size_t>(capacity_) * 2, 0) {}

int SoundRing::ChannelsLocked(int channels) {
    const int kept = std::min(channels, 2);
    if (kept != channels_) {
        next_ = 0;
        held_ = 0;
        channels_ = kept;
    }
    return kept;
}

void SoundRing::StoreLocked(int frame, int channel, float value) {
    const int slot = (next_ + frame) % capacity_;
    ring_[static_cast<std::size_t>(slot * 2 + channel)] = FloatToSample16(value);
}

void SoundRing::AdvanceLocked(int frames) {
    next_ = (next_ + frames) % capacity_;
    held_ = std::min(capacity_, held_ + frames);
}

void SoundRing::Push(const float* interleaved, int frames, int channels) {
    if (interleaved == nullptr || frames <= 0 || channels <= 0)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    const int kept = ChannelsLocked(channels);
    pushed_ += frames;
    // Only the newest frames can ever be shown.
    const int skip = std::max(0, frames - capacity_);
    for (int f = skip; f < frames; ++f) {
        const float* frame = interleaved + static_cast<std::ptrdiff_t>(f) * channels;
        for (int c = 0; c < kept; ++c)
            StoreLocked(f - skip, c, frame[c]);
    }
    AdvanceLocked(frames - skip);
}

void SoundRing::PushPlanar(const float* const* planes, int frames, int channels) {
    if (planes == nullptr || frames <= 0 || channels <= 0)
        return;
    const int kept = std::min(channels, 2);
    for (int c = 0; c < kept; ++c) {
        if (planes[c] == nullptr)
            return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ChannelsLocked(channels);
    pushed_ += frames;
    const int skip = std::max(0, frames - capacity_);
    for (int f = skip; f < frames; ++f) {
        for (int c = 0; c < kept; ++c)
            StoreLocked(f - skip, c, planes[c][f]);
    }
    AdvanceLocked(frames - skip);
}

void SoundRing::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    next_ = 0;
    held_ = 0;
}

int SoundRing::channels() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return channels_;
}

int SoundRing::framesHeld() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return held_;
}

std::int64_t SoundRing::framesPushed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pushed_;
}

SoundWindow SoundRing::Newest(int frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    frames = std::clamp(frames, 0, capacity_);
    SoundWindow sound;
    sound.channels = channels_;
    if (held_ == 0 || frames == 0)
        return sound;  // silence
    newest_.assign(static_cast<std::size_t>(frames) * channels_, 0);
    // Fewer frames held than asked for: silence first, then what there is.
    const int have = std::min(held_, frames);
    const int first = (next_ - have + capacity_) % capacity_;
    const int offset = frames - have;
    for (int f = 0; f < have; ++f) {
        const int slot = (first + f) % capacity_;
        for (int c = 0; c < channels_; ++c) {
            newest_[static_cast<std::size_t>((offset + f) * channels_ + c)] =
                ring_[static_cast<std::size_t>(slot * 2 + c)];
        }
    }
    sound.samples = newest_.data();
    sound.frames = frames;
    return sound;
}

SoundWindow SoundRing::Spread(int blockFrames, int windowFrames) {
    std::lock_guard<std::mutex> lock(mutex_);
    SoundWindow sound;
    sound.channels = channels_;
    const int frames = std::min({held_, blockFrames, capacity_});
    if (frames <= 0 || windowFrames <= 0)
        return sound;  // silence
    spread_.assign(static_cast<std::size_t>(windowFrames) * channels_, 0);
    const int first = (next_ - frames + capacity_) % capacity_;
    for (int f = 0; f < windowFrames; ++f) {
        // Whole numbers: frame f of the window shows frame f * frames / windowFrames of the block.
        const int slot = (first + static_cast<int>(static_cast<long long>(f) * frames / windowFrames)) %
                         capacity_;
        for (int c = 0; c < channels_; ++c) {
            spread_[static_cast<std::size_t>(f * channels_ + c)] =
                ring_[static_cast<std::size_t>(slot * 2 + c)];
        }
    }
    sound.samples = spread_.data();
    sound.frames = windowFrames;
    return sound;
}

}  // namespace hostkit
