// The offline render loop.
#include "player/offline_render.h"

#include "player/offline_client.h"
#include "player/player_window.h"
#include "player/plugin_loader.h"

namespace player {

OfflineRun RenderOffline(PluginLibrary& plugin, SoundTrack* track, int fps, FrameRange range,
                         const std::vector<FrameSink*>& sinks, const std::atomic<bool>* stop,
                         const std::function<void(int)>& afterFrame) {
    OfflineRun run;
    PresentedFrameCapture capture;
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
    PlayerWindow window(client);
    HostLoop loop(*plugin.module(), window.handle(), plugin.instance());
    run.end = loop.Host(client);
    run.framesRendered = loop.framesRendered();
    run.stoppedEarly = client.stoppedEarly();
    return run;
}

}  // namespace player
