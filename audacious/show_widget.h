// The show's place in Audacious: a Qt widget that hosts the plug-in, paints its presented
// 640x480 indexed frames scaled (nearest neighbour, aspect kept, letterboxed), hands it the keys
// pressed in it, goes full screen on a double click or F, and says what went wrong.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "audacious/scaled_frame.h"
#include "hostkit/desktop/embedded_show.h"
#include "hostkit/sound_ring.h"

class QPushButton;

namespace audacious {

// Audacious's visualization calls each carry this many frames.
inline constexpr int kAudaciousBlockFrames = 512;

// What the widget needs of the program around it.
class HostPlayer {
  public:
    virtual ~HostPlayer() = default;
    virtual bool Playing() = 0;  // playing and not paused
    virtual hostkit::SoundFormat Format() = 0;
    // Audacious hands its visualizations 512 frames at a time, timed to what is heard.
    virtual hostkit::SoundRing& Ring() = 0;
    virtual void Act(hostkit::PlayerCommand command) = 0;
    // The plug-in library to host, and whether the show starts full screen.
    virtual std::string PluginPath() = 0;
    virtual bool FullScreenOnStart() = 0;
    // Each rendered frame, for the measurements (playback time in ms).
    virtual void Rendered(int frame, const winampVisModule& module) { (void)frame, (void)module; }
    // A line for the same record: the show started or stopped.
    virtual void Note(const std::string& line) { (void)line; }
};

class FullScreenView;

class ShowWidget : public QWidget, private hostkit::HostClient, private hostkit::HostControls {
  public:
    explicit ShowWidget(HostPlayer& host, QWidget* parent = nullptr);
    ~ShowWidget() override;

    // Starts the show (again); a failure is shown in the widget and on standard error.
    void StartShow();
    void StopShow();
    void ToggleFullScreen();
    bool showRunning() const { return session_ && session_->running(); }
    QSize sizeHint() const override { return {480, 360}; }

    // Shared with the full-screen view.
    void PaintShow(QWidget& target);
    void HandleKey(QKeyEvent* event, bool down);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The show's turns: Audacious's format, its transport and the ring.
    hostkit::SoundFormat Format() override { return host_.Format(); }
    bool Paused() override { return !host_.Playing(); }
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    // The keys the show hands back; full screen is this widget's, quitting is not ours.
    void Act(hostkit::PlayerCommand command) override;
    bool TakesWindowCommands() const override { return true; }

    // The timer's tick: one turn of the show.
    void TakeTurn();
    void ShowProblem(const std::string& text);
    void AddNotice(const std::string& line);
    void ShowEnded();
    void CopyFrame();
    void NoteStopped();
    // Where the widget is on the screen, for the record (the docked widget has no window).
    void NotePlace();
    void PlaceButton();

    HostPlayer& host_;
    std::unique_ptr<hostkit::EmbeddedShow> session_;
    QTimer timer_;
    QImage image_;  // the presented frame, its palette as the colour table
    ScaledFrame docked_;
    ScaledFrame fullScreenFrame_;
    int shownPresent_ = 0;
    QString notice_;
    QPushButton* restart_ = nullptr;
    QPointer<FullScreenView> fullScreen_;
    // Escape (or the show's own end) keeps it stopped until the user asks again.
    bool endedByShow_ = false;
};

}  // namespace audacious
