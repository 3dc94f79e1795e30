// The listened sound through the host kit's ring.
#include "obs/source_sound.h"

#include <util/platform.h>

#include <algorithm>
#include <vector>

#include "obs/trace_log.h"

namespace tolvek_obs {
namespace {

// A timestamp this far from the clock is not OBS's clock but the source's own (a media file's):
// OBS then places the source's sound from the arrival of its first block on, and so does this.
constexpr std::int64_t kForeignClockNs = 2'000'000'000;

std::uint64_t FramesNs(std::uint64_t frames, int sampleRate) {
    return frames * 1'000'000'000ull / static_cast<unsigned>(std::max(1, sampleRate));
}

void TraceBlock(const float* samples, int frames, std::uint64_t startNs, std::uint64_t now,
                bool ownClock) {
    // Where the block first passes a quarter and seven tenths of full scale: a click's start
    // and a louder stretch's, for the measurements.
    int onset = -1;
    int loud = -1;
    float peak = 0;
    for (int i = 0; i < frames; ++i) {
        const float v = samples[i] < 0 ? -samples[i] : samples[i];
        if (onset < 0 && v > 0.25f)
            onset = i;
        if (loud < 0 && v > 0.7f)
            loud = i;
        peak = std::max(peak, v);
    }
    Trace("sound %llu arrived %llu frames %d peak %.3f onset %d loud %d clock %s",
          static_cast<unsigned long long>(startNs), static_cast<unsigned long long>(now), frames,
          peak, onset, loud, ownClock ? "own" : "obs");
}

}  // namespace

void SourceSound::SetFormat(int sampleRate, int channels) {
    sampleRate_ = std::max(1, sampleRate);
    channels_ = std::clamp(channels, 1, 2);
}

void SourceSound::Push(const audio_data& audio, bool muted) {
    const int frames = static_cast<int>(audio.frames);
    const int channels = channels_;
    if (frames <= 0 || audio.data[0] == nullptr || (channels > 1 && audio.data[1] == nullptr))
        return;
    const std::uint64_t now = os_gettime_ns();
    const int rate = sampleRate_;
    auto off = [now](std::int64_t adjust, std::uint64_t timestamp) {
        const std::int64_t by =
            static_cast<std::int64_t>(timestamp) + adjust - static_cast<std::int64_t>(now);
        return by > kForeignClockNs || by < -kForeignClockNs;
    };
    std::int64_t adjust = adjust_;
    if (off(adjust, audio.timestamp))
        adjust = off(0, audio.timestamp) ? static_cast<std::int64_t>(now - audio.timestamp) : 0;
    adjust_ = adjust;
    const std::uint64_t startNs = audio.timestamp + static_cast<std::uint64_t>(adjust);
    const float* planes[2] = {reinterpret_cast<const float*>(audio.data[0]),
                              reinterpret_cast<const float*>(audio.data[1])};
    static thread_local std::vector<float> zeros;
    if (muted) {
        zeros.assign(static_cast<std::size_t>(frames), 0.0f);
        planes[0] = planes[1] = zeros.data();
    }
    ring_.PushPlanar(planes, frames, channels);
    newestEndNs_ = startNs + FramesNs(static_cast<std::uint64_t>(frames), rate);
    if (Tracing())
        TraceBlock(planes[0], frames, startNs, now, adjust != 0);
}

void SourceSound::Clear() {
    ring_.Clear();
    newestEndNs_ = 0;
    adjust_ = 0;
}

hostkit::SoundFormat SourceSound::Format() {
    return {sampleRate_, ring_.channels()};
}

hostkit::HeardSound SourceSound::Sound(const winampVisModule&) {
    const std::uint64_t endNs = newestEndNs_;
    lastHeardNs_ = 0;
    if (endNs == 0 || os_gettime_ns() > endNs + kQuietAfterNs)
        return {};  // silence
    lastHeardNs_ = endNs - FramesNs(kWaveformSamples, sampleRate_);
    return {ring_.Newest(kWaveformSamples), std::nullopt};
}

}  // namespace tolvek_obs
