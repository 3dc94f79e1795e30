// The host loop.
#include "hostkit/host_loop.h"

namespace hostkit {

HostLoop::HostLoop(winampVisModule& module, HWND parent, HINSTANCE instance)
    : module_(module), parent_(parent), instance_(instance) {}

bool HostLoop::Start(HostClient& client) {
    module_.hwndParent = parent_;
    module_.hDllInstance = instance_;
    client.FillFormat(module_);
    running_ = module_.Init(&module_) == 0;
    return running_;
}

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

void HostLoop::End() {
    running_ = false;
    module_.Quit(&module_);
    // Quit closes the module's window, whose destruction asks to quit once more: that request
    // belongs to this show, not to whatever the thread runs next.
    PumpMessages();
}

HostEnd HostLoop::Run(HostClient& client) {
    if (!running_)
        return HostEnd::NotStarted;
    for (;;) {
        if (PumpMessages()) {
            End();
            return HostEnd::QuitRequest;
        }
        client.Tick();
        if (!client.Paused()) {
            client.FillFormat(module_);
            client.FillSound(module_);
            ++framesRendered_;
            if (module_.Render(&module_) != 0) {
                End();
                return HostEnd::RenderStopped;
            }
        }
        client.Wait(module_.delayMs);
    }
}

HostEnd HostLoop::Host(HostClient& client) {
    if (!Start(client))
        return HostEnd::NotStarted;
    return Run(client);
}

}  // namespace hostkit
