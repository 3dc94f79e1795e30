// Hosting the show for the hack: the plug-in loaded and driven by the host kit's embedded show,
// headless in the platform layer, its presented frames painted into the window, the sound from
// the capture or silence, and a stop request (SIGTERM) ending it through Quit.
#pragma once

#include <csignal>
#include <string>

namespace hostkit {
class CaptureSource;
}

namespace saver {

class SaverWindow;
class WindowPainter;

enum class ShowEnd {
    NotLoaded,    // the plug-in library could not be loaded
    NotStarted,   // Init failed
    Stopped,      // a stop request: Quit was called
    WindowGone,   // the window was destroyed or closed: Quit was called
    ShowEnded,    // the show asked to end or Render failed: Quit was called
    CannotPaint,  // no image can be made for the window: Quit was called
};

struct ShowReport {
    ShowEnd end = ShowEnd::NotLoaded;
    std::string error;  // for NotLoaded, NotStarted and CannotPaint, naming the file or window
    int frames = 0;     // Render calls
    bool sharedMemory = false;
};

// `capture` may be null (silence). `stop` becomes non-zero from a signal handler.
ShowReport HostShow(const std::string& pluginPath, SaverWindow& window, WindowPainter& painter,
                    hostkit::CaptureSource* capture, const volatile std::sig_atomic_t& stop);

// Says why there is no show (`why`: the file and the problem) in the window until a stop
// request or the window's end, repainted when uncovered or resized.
void ShowNotice(const std::string& why, SaverWindow& window, WindowPainter& painter,
                const volatile std::sig_atomic_t& stop);

}  // namespace saver
