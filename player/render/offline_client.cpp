// The offline host client.
#include "player/render/offline_client.h"

#include "hostkit/sound_track.h"

namespace player {

std::int64_t FrameStartSample(int frame, int fps, int sampleRate) {
    return static_cast<std::int64_t>(frame - 1) * sampleRate / fps;
}

OfflineClient::OfflineClient(hostkit::SoundTrack* track, int fps, int lastFrame,
                             FrameDone frameDone, const std::atomic<bool>* stop)
    : track_(track),
      fps_(fps),
      lastFrame_(lastFrame),
      frameDone_(std::move(frameDone)),
      stop_(stop),
      window_(static_cast<std::size_t>(kWaveformSamples) * 2) {}

hostkit::SoundFormat OfflineClient::Format() {
    if (track_ != nullptr)
        return {track_->sampleRate(), track_->sourceChannels()};
    return {kSilenceSampleRate, kSilenceChannels};
}

hostkit::HeardSound OfflineClient::Sound(const winampVisModule&) {
    ++frame_;
    hostkit::SoundWindow sound;  // no samples: silence
    if (track_ != nullptr) {
        // No latency shift: offline, what is shown and what is heard are the same moment.
        const std::int64_t start = FrameStartSample(frame_, fps_, track_->sampleRate());
        track_->Read(start, kWaveformSamples, window_.data());
        sound = hostkit::SoundWindow{window_.data(), kWaveformSamples, track_->storedChannels()};
    }
    return {sound, std::nullopt};
}

void OfflineClient::Wait(int) {
    if (quitPosted_)
        return;
    bool more = frame_ < lastFrame_;
    if (frame_ > 0 && frameDone_ && !frameDone_(frame_)) {
        more = false;
        stoppedEarly_ = true;
    }
    if (more && stop_ != nullptr && stop_->load()) {
        more = false;
        stoppedEarly_ = true;
    }
    if (!more) {
        // Seen at the start of the next turn: the loop then calls Quit without another Render.
        PostQuitMessage(0);
        quitPosted_ = true;
    }
}

}  // namespace player
