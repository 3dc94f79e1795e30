// The sound the show hears in OBS: the audio of the OBS source it listens to, handed over on
// that source's thread (OBS's audio or a media thread) into the host kit's ring, and taken on
// OBS's video thread for each Render: the newest 576 frames, which are the ones being heard
// (live sound has no future), or silence once the source has gone quiet (paused, stopped,
// ended: OBS then hands over nothing, and the last stretch must not stay on the screen).
#pragma once

#include <obs.h>

#include <atomic>
#include <cstdint>

#include "hostkit/host_loop.h"
#include "hostkit/sound_ring.h"

namespace tolvek_obs {

class SourceSound : public hostkit::HostClient {
  public:
    // Sound older than this is a source that went quiet.
    static constexpr std::uint64_t kQuietAfterNs = 250'000'000;

    // OBS's output format, read when listening starts.
    void SetFormat(int sampleRate, int channels);
    // On the listened source's thread: one block of planar float audio with its timestamp;
    // a muted source is silence, as the mix hears it.
    void Push(const audio_data& audio, bool muted);
    // Another source, or none.
    void Clear();

    // The host kit's client: on OBS's video thread.
    hostkit::SoundFormat Format() override;
    bool Paused() override { return false; }  // a hidden source takes no turns at all
    hostkit::HeardSound Sound(const winampVisModule& module) override;

    // The moment OBS hears the first of the frames the last Sound handed over (0: silence).
    std::uint64_t lastHeardNs() const { return lastHeardNs_; }

  private:
    hostkit::SoundRing ring_;
    std::atomic<int> sampleRate_{48000};
    std::atomic<int> channels_{2};
    std::atomic<std::uint64_t> newestEndNs_{0};  // when the newest frame pushed ends
    std::atomic<std::int64_t> adjust_{0};        // from the source's clock to OBS's
    std::uint64_t lastHeardNs_ = 0;
};

}  // namespace tolvek_obs
