// A show hosted inside another program's event loop (Audacious, OBS Studio, a screensaver):
// the plug-in library loaded through winampVisGetHeader, started and stopped on request, one
// turn per tick of the program's timer, its frames drawn headless and handed to the program's
// view, and what the plug-in says to its user handed over as notices.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hostkit/desktop/plugin_library.h"
#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"
#include "hostkit/presented_frame.h"
#include "platform/host_services.h"

namespace hostkit {

class EmbeddedShow {
  public:
    // A message box (caption and text) or a debugger-channel line (empty caption), such as a data
    // file that could not be read. The platform also writes both to the error output.
    using NoticeHandler = std::function<void(const std::string& caption, const std::string& text)>;

    // Commands from the keys the show hands back go to `controls` (may be null).
    EmbeddedShow(HostControls* controls, NoticeHandler onNotice);
    ~EmbeddedShow();
    EmbeddedShow(const EmbeddedShow&) = delete;
    EmbeddedShow& operator=(const EmbeddedShow&) = delete;

    // Loads the plug-in library (once; a later call with the same path does nothing). False with
    // a one-line `error` naming the file when it is missing or speaks another interface.
    bool Load(const std::string& pluginPath, std::string* error);
    bool loaded() const { return plugin_.module() != nullptr; }
    const std::string& pluginPath() const { return pluginPath_; }

    // Init with the client's format; false (and `error`) when the module did not start.
    bool Start(HostClient& client, std::string* error);
    TurnResult Turn(HostClient& client);
    // Quit, once, if running.
    void Stop();
    bool running() const { return loop_ && loop_->running(); }

    // A key pressed in the host's view, for the show's windows.
    void SendKey(WPARAM virtualKey, bool down, bool repeat);

    int delayMs() const { return loop_ ? loop_->delayMs() : kShortestDelayMs; }
    int framesRendered() const { return loop_ ? loop_->framesRendered() : 0; }
    // The latest frame the display presented, and how many were presented so far.
    const RenderedFrame& frame() const { return capture_.latest(); }
    int presentCount() const { return capture_.presentCount(); }
    const winampVisModule& module() const { return *plugin_.module(); }
    HostWindow& window() { return window_; }

  private:
    NoticeHandler onNotice_;
    HostWindow window_;
    PluginLibrary plugin_;
    std::string pluginPath_;
    std::unique_ptr<HostLoop> loop_;
    PresentedFrameCapture capture_;
    platform::ObserverHandle boxes_;
    platform::ObserverHandle lines_;
};

}  // namespace hostkit
