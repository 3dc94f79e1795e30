// The show's place in Audacious's Qt mode: a Qt 5 widget over the shared controller. It paints
// the presented frame scaled (nearest neighbour, aspect kept, letterboxed) with the notices over
// it, hands the controller its keys, double clicks and visibility, and opens the full-screen view.
#pragma once

#include <QPointer>
#include <QWidget>

#include "audacious/show_controller.h"
#include "hostkit/scaled_frame.h"

class QPushButton;

namespace audacious {

class QtFullScreenView;

class QtShowView : public QWidget, public ShowView {
  public:
    explicit QtShowView(HostPlayer& host, QWidget* parent = nullptr);
    ~QtShowView() override;

    QSize sizeHint() const override { return {480, 360}; }
    ShowController& controller() { return controller_; }

    // Shared with the full-screen view.
    void PaintShow(QWidget& target, hostkit::ScaledFrame& scaled, const QRect& exposed,
                   bool withNotice);
    void HandleKey(QKeyEvent* event, bool down);

    // ShowView
    void Repaint() override;
    void FrameChanged() override;
    void OfferRestart(bool offered) override;
    void OpenFullScreen() override;
    void CloseFullScreen() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Where the widget is on the screen, for the record (the docked widget has no window).
    void NotePlace();
    void PlaceButton();
    void BringViewForward();

    ShowController controller_;
    hostkit::ScaledFrame docked_;
    QPushButton* restart_ = nullptr;
    QPointer<QtFullScreenView> fullScreen_;
    QPointer<QWidget> toplevel_;  // the window the widget is in, watched for moves
    bool broughtForward_ = false;
};

}  // namespace audacious
