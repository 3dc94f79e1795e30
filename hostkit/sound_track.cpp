// Sound in memory.
#include "hostkit/sound_track.h"

#include <algorithm>
#include <cstring>

namespace hostkit {

MemoryTrack::MemoryTrack(std::string name, int sampleRate, int channels,
                         std::vector<std::int16_t> samples)
    : name_(std::move(name)),
      sampleRate_(sampleRate),
      channels_(channels),
      samples_(std::move(samples)) {}

std::int64_t MemoryTrack::lengthFrames() const {
    return static_cast<std::int64_t>(samples_.size()) / storedChannels();
}

int MemoryTrack::Read(std::int64_t start, int count, std::int16_t* out) {
    const int stored = storedChannels();
    std::fill(out, out + static_cast<std::ptrdiff_t>(count) * stored, std::int16_t{0});
    std::int64_t from = std::max<std::int64_t>(start, 0);
    std::int64_t to = std::min<std::int64_t>(start + count, lengthFrames());
    if (to <= from)
        return 0;
    std::memcpy(out + (from - start) * stored, samples_.data() + from * stored,
                static_cast<std::size_t>((to - from) * stored) * sizeof(std::int16_t));
    return static_cast<int>(to - from);
}

}  // namespace hostkit
