// The timed ring of recent sound.
#include "obs/sound_ring.h"

#include <algorithm>

namespace tolvek_obs {
namespace {

// A block this far from where the one before it ended belongs to a new run of sound (a seek, a
// restart, another file); OBS itself smooths smaller steps away.
constexpr std::int64_t kJumpNs = 20'000'000;

std::int64_t FramesToNs(std::uint64_t frames, int sampleRate) {
    return static_cast<std::int64_t>(frames * 1'000'000'000ull / static_cast<unsigned>(sampleRate));
}

}  // namespace

void SoundRing::Push(const float* const* planes, int channels, int frames, int sampleRate,
                     std::uint64_t timestampNs) {
    if (planes == nullptr || channels <= 0 || frames <= 0 || sampleRate <= 0)
        return;
    const int kept = std::min(channels, 2);
    for (int c = 0; c < kept; ++c) {
        if (planes[c] == nullptr)
            return;
    }
    std::lock_guard lock(mutex_);
    const std::int64_t expected =
        static_cast<std::int64_t>(startNs_) + FramesToNs(written_, sampleRate_);
    const std::int64_t jump = static_cast<std::int64_t>(timestampNs) - expected;
    if (written_ == 0 || kept != channels_ || sampleRate != sampleRate_ || jump > kJumpNs ||
        jump < -kJumpNs) {
        channels_ = kept;
        sampleRate_ = sampleRate;
        startNs_ = timestampNs;
        written_ = 0;
        held_ = 0;
    }
    // Only the newest frames can ever be shown.
    const int skip = std::max(0, frames - kCapacityFrames);
    for (int f = skip; f < frames; ++f) {
        const std::size_t slot = static_cast<std::size_t>((written_ + f - skip) % kCapacityFrames);
        for (int c = 0; c < kept; ++c)
            ring_[slot * 2 + c] = hostkit::FloatToSample16(planes[c][f]);
    }
    written_ += static_cast<std::uint64_t>(frames - skip);
    held_ =
        std::min<std::uint64_t>(kCapacityFrames, held_ + static_cast<std::uint64_t>(frames - skip));
}

void SoundRing::Clear() {
    std::lock_guard lock(mutex_);
    written_ = 0;
    held_ = 0;
}

int SoundRing::channels() const {
    std::lock_guard lock(mutex_);
    return channels_;
}

int SoundRing::sampleRate() const {
    std::lock_guard lock(mutex_);
    return sampleRate_;
}

hostkit::SoundWindow SoundRing::Window(std::uint64_t startNs,
                                       std::array<std::int16_t, kWindowFrames * 2>& out,
                                       std::uint64_t* heardNs) const {
    std::lock_guard lock(mutex_);
    hostkit::SoundWindow sound;
    sound.channels = channels_;
    if (held_ == 0)
        return sound;
    const std::int64_t endNs =
        static_cast<std::int64_t>(startNs_) + FramesToNs(written_, sampleRate_);
    const std::int64_t asked = static_cast<std::int64_t>(startNs);
    if (endNs + static_cast<std::int64_t>(kStaleNs) < asked)
        return sound;  // the source has gone quiet
    // The frame heard at `startNs`, kept inside what the ring holds.
    const std::int64_t offsetNs = asked - static_cast<std::int64_t>(startNs_);
    std::int64_t first = offsetNs * sampleRate_ / 1'000'000'000;
    const std::int64_t oldest = static_cast<std::int64_t>(written_ - held_);
    first = std::min(first, static_cast<std::int64_t>(written_) - kWindowFrames);
    first = std::max(first, oldest);
    const int frames = static_cast<int>(
        std::min<std::int64_t>(kWindowFrames, static_cast<std::int64_t>(written_) - first));
    for (int f = 0; f < frames; ++f) {
        const std::size_t slot = static_cast<std::size_t>((first + f) % kCapacityFrames);
        for (int c = 0; c < channels_; ++c)
            out[static_cast<std::size_t>(f * channels_ + c)] = ring_[slot * 2 + c];
    }
    sound.samples = out.data();
    sound.frames = frames;
    if (heardNs != nullptr)
        *heardNs = startNs_ + static_cast<std::uint64_t>(
                                  FramesToNs(static_cast<std::uint64_t>(first), sampleRate_));
    return sound;
}

}  // namespace tolvek_obs
