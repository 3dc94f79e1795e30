// The player's commands in OBS, from the keys the show hands back (typed into OBS's Interact
// window of the source): play, pause, stop, previous/next, seek and volume act on the OBS source
// the show listens to (a media source, a VLC playlist); repeat and shuffle toggle its looping
// and shuffle settings where it has them; P saves the frame as an indexed PNG in the pictures
// folder. Full screen and quit are OBS's own business and do nothing here. All on OBS's video
// thread, where the show's turns run.
#pragma once

#include <obs.h>

#include <functional>

#include "hostkit/host_window.h"
#include "hostkit/presented_frame.h"

namespace tolvek_obs {

class MediaControls : public hostkit::HostControls {
  public:
    using FrameSource = std::function<const hostkit::RenderedFrame&()>;

    explicit MediaControls(FrameSource frame) : frame_(std::move(frame)) {}
    ~MediaControls() override;
    MediaControls(const MediaControls&) = delete;
    MediaControls& operator=(const MediaControls&) = delete;

    // The source the commands act on (a reference of its own is kept); null: none.
    void Aim(obs_source_t* listened);

    void Act(hostkit::PlayerCommand command) override;
    bool TakesWindowCommands() const override { return true; }

  private:
    FrameSource frame_;
    obs_weak_source_t* target_ = nullptr;
};

// The virtual-key code of a key OBS hands a source (an X keysym on Linux); 0 for keys the show
// is not told of.
WPARAM VirtualKeyOf(uint32_t nativeKey);

}  // namespace tolvek_obs
