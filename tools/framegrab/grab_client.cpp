// Sound by frame and the frame kept from the display's presentations.
#include "tools/framegrab/grab_client.h"

#include <algorithm>

#include "hostkit/desktop/frame_sound.h"
#include "platform/host_services.h"

namespace framegrab {

GrabClient::GrabClient(const hostkit::HostOptions& options, const hostkit::Sound* sound)
    : options_(options), shotFrames_(options.ShotFrames()), sound_(sound) {
    presents_ = platform::AddPresentObserver([this](const platform::PresentedFrame& frame) {
        ++presented_;
        latest_.width = frame.width;
        latest_.height = frame.height;
        frame.CopyPixels(latest_.indices);
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& entry = frame.palette[i];
            latest_.palette[static_cast<std::size_t>(i)] = {entry.peRed, entry.peGreen,
                                                            entry.peBlue};
        }
    });
}

hostkit::SoundFormat GrabClient::Format() {
    return hostkit::FormatOf(sound_);
}

bool GrabClient::Paused() {
    return rendered_ >= options_.frames;
}

hostkit::HeardSound GrabClient::Sound(const winampVisModule& module) {
    ++rendered_;
    return {hostkit::SoundAt(sound_, rendered_, module.delayMs, module.latencyMs), std::nullopt};
}

void GrabClient::Wait(int) {
    // Each Render presents once; a frame that presented nothing is not kept.
    const bool chosen =
        std::find(shotFrames_.begin(), shotFrames_.end(), rendered_) != shotFrames_.end();
    if (chosen && presented_ == rendered_)
        kept_.emplace_back(rendered_, latest_);
    if (rendered_ >= options_.frames)
        PostQuitMessage(0);
}

}  // namespace framegrab
