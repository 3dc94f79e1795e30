// The show in Audacious without a toolkit: the one controller that the GTK 2 and the Qt 5
// widgets share. It starts and stops the hosted show, takes one turn on each tick of the host's
// timer, keeps the notices, answers the keys and the show's commands and asks its view for full
// screen; a widget only paints what it is handed and turns its toolkit's events into these calls.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/desktop/embedded_show.h"
#include "hostkit/sound_ring.h"

namespace audacious {

// Audacious's visualization calls each carry this many frames.
inline constexpr int kAudaciousBlockFrames = 512;

// What the controller needs of the program around it: Audacious, or a test.
class HostPlayer {
  public:
    virtual ~HostPlayer() = default;
    virtual bool Playing() = 0;  // playing and not paused
    // What plays, as the song's information says (its sample rate is the module's sRate).
    virtual hostkit::SoundFormat Format() = 0;
    // The sound handed to the visualization, kAudaciousBlockFrames at a time, newest last.
    virtual hostkit::SoundRing& Ring() = 0;
    // Every command the show hands back but full screen, the frame-save and quitting.
    virtual void Act(hostkit::PlayerCommand command) = 0;
    // The plug-in library to host, and whether the show starts full screen.
    virtual std::string PluginPath() = 0;
    virtual bool FullScreenOnStart() = 0;
    // Where P saves the frame on screen.
    virtual std::string PicturesFolder() = 0;
    // A periodic timer on the program's main loop, one at a time; StartTimer replaces it.
    virtual void StartTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void StopTimer() = 0;
    // Each rendered frame, for the measurements.
    virtual void Rendered(int frame, const winampVisModule& module) { (void)frame, (void)module; }
    // A line for the same record: the show started or stopped, where the view is.
    virtual void Note(const std::string& line) { (void)line; }
};

// What the controller asks of the widget that shows it.
class ShowView {
  public:
    virtual ~ShowView() = default;
    // New notices (or none): paint everything again when the toolkit next paints.
    virtual void Repaint() = 0;
    // A new frame: scale it and repaint what changed.
    virtual void FrameChanged() = 0;
    // The "Start the show again" button, offered once the show ended.
    virtual void OfferRestart(bool offered) = 0;
    // The same picture over the whole screen, and back.
    virtual void OpenFullScreen() = 0;
    virtual void CloseFullScreen() = 0;
};

class ShowController : private hostkit::HostClient, private hostkit::HostControls {
  public:
    ShowController(HostPlayer& host, ShowView& view);
    ~ShowController();
    ShowController(const ShowController&) = delete;
    ShowController& operator=(const ShowController&) = delete;

    // Starts the show (a failure becomes a notice and a line on standard error).
    void Start();
    // Stops it without calling it ended: the view was hidden or goes away.
    void Stop();
    // The view came up: the show starts, unless the show itself ended and was not asked again.
    void ViewShown();
    // The user's button after the show ended.
    void StartAgain();

    // A key in the view, as a virtual-key code. True when it was the show's.
    bool Key(WPARAM virtualKey, bool down, bool repeat);
    // A double click in the view, or F.
    void ToggleFullScreen();
    // The full-screen view went away by other means (its window closed).
    void FullScreenClosed();
    // Where the view is on the screen (the docked widget has no window to ask), for the record;
    // views say it whenever they paint, only a change is noted.
    void ViewPlaced(int x, int y, int width, int height);

    // One tick of the host's timer: one turn of the show.
    void TimerTick();

    bool running() const { return session_ && session_->running(); }
    bool fullScreen() const { return fullScreen_; }
    // The latest frame the show presented (null before the first) and its number. It stays
    // after the show stopped or ended, and while it starts again: the view keeps its picture.
    const hostkit::RenderedFrame* frame() const;
    int frameSerial() const { return shownPresent_; }
    // What the view writes over the picture, one notice a line; empty when all is well.
    std::string NoticeText() const;
    bool HasNotice() const { return !notices_.empty() || !status_.empty() || endedByShow_; }
    int framesRendered() const { return session_ ? session_->framesRendered() : 0; }

  private:
    // The show's turns: Audacious's format, its transport and the ring.
    hostkit::SoundFormat Format() override;
    // A passing word goes after a few seconds of turns.
    void Tick() override;
    bool Paused() override { return !host_.Playing(); }
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    // The keys the show hands back: full screen and the frame-save are this view's, quitting
    // Audacious is not ours, the rest is Audacious's transport.
    void Act(hostkit::PlayerCommand command) override;
    bool TakesWindowCommands() const override { return true; }

    void Message(const std::string& caption, const std::string& text);
    void AddNotice(const std::string& line);
    void ShowProblem(const std::string& text);
    void ShowEnded();
    void SaveFrame();
    void NoteStopped();

    HostPlayer& host_;
    ShowView& view_;
    std::unique_ptr<hostkit::EmbeddedShow> session_;
    std::vector<std::string> notices_;
    // A passing word (the frame saved), shown for a few seconds of ticks.
    std::string status_;
    int statusTicks_ = 0;
    int shownPresent_ = 0;
    std::array<int, 4> place_{};
    bool fullScreen_ = false;
    // Escape (or the show's own end) keeps it stopped until the user asks again.
    bool endedByShow_ = false;
};

}  // namespace audacious
