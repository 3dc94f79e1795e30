// The test host's side of the loop: sound by frame from a WAV file or silence, Sleep(delayMs)
// between frames, the photograph of the chosen frame, and after the last frame a wait for the
// quit request, which the host answers itself if nobody closes the show in time.
#pragma once

#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/desktop/host_options.h"
#include "hostkit/desktop/wav_sound.h"
#include "tools/winhost/host_log.h"

namespace winhost {

class VisClient : public hostkit::HostClient {
  public:
    // `sound` may be null (silence); it and the log outlive the client.
    VisClient(const hostkit::HostOptions& options, const hostkit::Sound* sound, HostLog& log);

    hostkit::SoundFormat Format() override;
    void Tick() override;
    bool Paused() override;
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    void Wait(int delayMs) override;

    int framesRendered() const { return rendered_; }
    // False when the photograph was asked for but could not be taken or written.
    bool shotOk() const { return shotOk_; }
    // True when the host had to close the show itself because no quit request came.
    bool closedByHost() const { return closedByHost_; }

  private:
    void TakeShot(const std::string& path);
    void AfterLastFrame();

    const hostkit::HostOptions& options_;
    const std::vector<int> shotFrames_;
    const hostkit::Sound* sound_;
    HostLog& log_;
    int rendered_ = 0;
    bool shotOk_ = true;
    bool holding_ = false;
    DWORD holdStart_ = 0;
    bool closedByHost_ = false;
};

}  // namespace winhost
