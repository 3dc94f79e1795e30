// The frame grabber's side of the loop: sound by frame, no waiting, the presented frame of the
// chosen number kept, and the quit request after the last frame.
#pragma once

#include <utility>
#include <vector>

#include "hostkit/desktop/frame_image.h"
#include "hostkit/host_loop.h"
#include "platform/host_services.h"
#include "hostkit/desktop/host_options.h"
#include "hostkit/desktop/wav_sound.h"

namespace framegrab {

class GrabClient : public hostkit::HostClient {
  public:
    // `sound` may be null (silence). Watches presented frames until destroyed.
    GrabClient(const hostkit::HostOptions& options, const hostkit::Sound* sound);
    GrabClient(const GrabClient&) = delete;
    GrabClient& operator=(const GrabClient&) = delete;

    hostkit::SoundFormat Format() override;
    bool Paused() override;
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    void Wait(int delayMs) override;

    int framesRendered() const { return rendered_; }
    // The chosen frames that were presented, with their numbers, in order.
    const std::vector<std::pair<int, hostkit::IndexedFrame>>& kept() const { return kept_; }

  private:
    const hostkit::HostOptions& options_;
    const std::vector<int> shotFrames_;
    const hostkit::Sound* sound_;
    int rendered_ = 0;
    int presented_ = 0;
    hostkit::IndexedFrame latest_;
    std::vector<std::pair<int, hostkit::IndexedFrame>> kept_;
    platform::ObserverHandle presents_;
};

}  // namespace framegrab
