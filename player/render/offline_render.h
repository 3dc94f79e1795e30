// Rendering a loaded plug-in offline: the host loop with the offline client, every presented frame
// of the range handed to the sinks.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "player/render/frame_sink.h"
#include "player/render/render_options.h"

namespace hostkit {
class PluginLibrary;
class SoundTrack;
}  // namespace hostkit

namespace player {

struct OfflineRun {
    hostkit::HostEnd end = hostkit::HostEnd::NotStarted;
    int framesRendered = 0;
    int framesWritten = 0;      // frames of the range handed to every sink
    bool stoppedEarly = false;  // by `stop` or a sink's failure
    std::string error;          // the sink's failure, one line
};

// Renders frames 1..range.last of `track` (null: silence) at `fps` and writes range.first..last
// to each sink. The display must already be headless. `afterFrame` (may be empty) sees each frame
// number once it is written; `stop` (may be null) ends the run after the current frame.
OfflineRun RenderOffline(hostkit::PluginLibrary& plugin, hostkit::SoundTrack* track, int fps,
                         FrameRange range, const std::vector<FrameSink*>& sinks,
                         const std::atomic<bool>* stop, const std::function<void(int)>& afterFrame);

}  // namespace player
