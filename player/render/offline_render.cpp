// The offline render loop.
#include "player/render/offline_render.h"

#include "hostkit/desktop/plugin_library.h"
#include "hostkit/host_window.h"
#include "player/render/offline_client.h"

namespace player {

OfflineRun RenderOffline(hostkit::PluginLibrary& plugin, hostkit::SoundTrack* track, int fps,
                         FrameRange range, const std::vector<FrameSink*>& sinks,
                         const std::atomic<bool>* stop,
                         const std::function<void(int)>& afterFrame) {
    OfflineRun run;
    hostkit::PresentedFrameCapture capture;
    auto frameDone = [&](int frame) {
        if (frame >= range.first) {
            for (FrameSink* sink : sinks) {
                run.error = sink->Write(frame, capture.latest());
                if (!run.error.empty())
                    return false;
            }
            ++run.framesWritten;
        }
        if (afterFrame)
            afterFrame(frame);
        return true;
    };
    OfflineClient client(track, fps, range.last, frameDone, stop);
    hostkit::HostWindow window("TolvekRender");
    window.SetControls(&client);
    hostkit::HostLoop loop(*plugin.module(), window.handle(), plugin.instance());
    run.end = loop.Host(client);
    run.framesRendered = loop.framesRendered();
    run.stoppedEarly = client.stoppedEarly();
    return run;
}

}  // namespace player
