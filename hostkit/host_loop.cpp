// The host loop.
#include "hostkit/host_loop.h"

namespace hostkit {

bool PumpMessages() {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quit;
}

HostLoop::HostLoop(winampVisModule& module, HWND parent, HINSTANCE instance)
    : module_(module), parent_(parent), instance_(instance) {}

HostLoop::~HostLoop() {
    Stop();
}

bool HostLoop::Start(HostClient& client) {
    if (running_)
        return true;
    module_.hwndParent = parent_;
    module_.hDllInstance = instance_;
    const SoundFormat format = client.Format();
    module_.sRate = format.sampleRate;
    module_.nCh = format.channels;
    PumpMessages();
    running_ = module_.Init(&module_) == 0;
    end_ = HostEnd::NotStarted;
    if (!running_)
        PumpMessages();  // whatever the failed start posted goes with it
    return running_;
}

void HostLoop::End(HostEnd end) {
    running_ = false;
    end_ = end;
    module_.Quit(&module_);
    // Quit closes the module's window, whose destruction asks to quit once more: that request
    // belongs to this show, not to whatever the thread runs next.
    PumpMessages();
}

void HostLoop::Stop() {
    if (running_)
        End(HostEnd::StoppedByHost);
}

TurnResult HostLoop::Turn(HostClient& client) {
    if (!running_)
        return TurnResult::Ended;
    if (PumpMessages()) {
        End(HostEnd::QuitRequest);
        return TurnResult::Ended;
    }
    client.Tick();
    if (client.Paused())
        return TurnResult::Idle;
    const SoundFormat format = client.Format();
    module_.sRate = format.sampleRate;
    module_.nCh = format.channels;
    const HeardSound sound = client.Sound(module_);
    FillWaveform(sound.waveform, module_);
    if (module_.spectrumNch > 0)
        FillSpectrum(sound.spectrum ? *sound.spectrum : sound.waveform, module_);
    ++framesRendered_;
    if (module_.Render(&module_) != 0) {
        End(HostEnd::RenderStopped);
        return TurnResult::Ended;
    }
    return TurnResult::Rendered;
}

int HostLoop::delayMs() const {
    return module_.delayMs > 0 ? module_.delayMs : kShortestDelayMs;
}

HostEnd HostLoop::Run(HostClient& client) {
    while (Turn(client) != TurnResult::Ended)
        client.Wait(delayMs());
    return end_;
}

HostEnd HostLoop::Host(HostClient& client) {
    if (!Start(client))
        return HostEnd::NotStarted;
    return Run(client);
}

}  // namespace hostkit
