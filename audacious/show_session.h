// One visualization plug-in hosted inside another program's event loop: loaded through
// winampVisGetHeader, started and stopped on request, and driven one turn per timer tick the way
// the desktop player's loop drives it (messages, then sound and Render unless paused). Nothing
// here knows Qt or Audacious, so the tests drive it with the real plug-in alone.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/win32.h"
#include "hostkit/presented_frame.h"
#include "player/live/player_window.h"
#include "hostkit/plugin_library.h"
#include "hostkit/waveform.h"

namespace audacious {

// The song's format as the module record carries it.
struct SoundFormat {
    int sampleRate = 44100;
    int channels = 2;
};

enum class TurnResult {
    Rendered,  // Render was called and presented
    Idle,      // paused or stopped: messages only
    Ended,     // the show asked to end (Escape, its window closed) or Render failed; Quit was called
};

class ShowSession {
  public:
    // Forwarded keys that the plug-in hands its host, already mapped to the player's controls.
    using CommandHandler = std::function<void(player::PlayerCommand)>;
    // What the plug-in says to its user: a message box (caption and text) or a debugger-channel
    // line (empty caption), such as a data file it could not read. The platform also writes
    // both to standard error.
    using MessageHandler = std::function<void(const std::string& caption, const std::string& text)>;

    ShowSession(CommandHandler onCommand, MessageHandler onMessage);
    ~ShowSession();
    ShowSession(const ShowSession&) = delete;
    ShowSession& operator=(const ShowSession&) = delete;

    // Loads the plug-in library (once; a later call with the same path does nothing). False with
    // a one-line `error` naming the file when it is missing or speaks another interface.
    bool Load(const std::string& pluginPath, std::string* error);
    bool loaded() const { return plugin_.module() != nullptr; }

    // Fills hwndParent, hDllInstance, sRate and nCh and calls Init; false (and `error`) when
    // the module did not start.
    bool Start(const SoundFormat& format, std::string* error);
    // One turn: pending messages, then, when `playing`, the format, the waveform and Render.
    TurnResult Turn(bool playing, const SoundFormat& format, const hostkit::SoundWindow& sound);
    // Quit, once, if running.
    void Stop();
    bool running() const { return running_; }

    // A key pressed in the host's view: goes to every window the module opened, as the system
    // would deliver it to the focused show window.
    void SendKey(WPARAM virtualKey, bool down, bool repeat);

    int delayMs() const;
    int framesRendered() const { return framesRendered_; }
    // The latest frame the display presented, and how many were presented so far.
    const hostkit::RenderedFrame& frame() const { return capture_->latest(); }
    int presentCount() const { return capture_->presentCount(); }
    HWND parentWindow() const { return parent_; }
    const winampVisModule& module() const { return *plugin_.module(); }

  private:
    static LRESULT ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void FillFormat(const SoundFormat& format);

    CommandHandler onCommand_;
    MessageHandler onMessage_;
    hostkit::PluginLibrary plugin_;
    std::string pluginPath_;
    HWND parent_ = nullptr;
    std::unique_ptr<hostkit::PresentedFrameCapture> capture_;
    bool running_ = false;
    int framesRendered_ = 0;
};

}  // namespace audacious
