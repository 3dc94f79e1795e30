// The show's place in Audacious's GTK mode: a GTK 2 widget over the shared controller. It paints
// the presented frame scaled (nearest neighbour, aspect kept, letterboxed) with the notices over
// it, hands the controller its keys, double clicks and visibility, and opens the full-screen view.
#pragma once

#include <set>

#include "audacious/show_controller.h"
#include "hostkit/scaled_frame.h"

// Declared, not included: GLib's TRUE and FALSE macros must not meet the window layer's own.
typedef struct _GtkWidget GtkWidget;

namespace audacious {

class GtkShowView : public ShowView {
  public:
    // The widget lives as long as its GTK widget: whoever destroys that (Audacious's interface
    // closing the view) deletes this, and sets `*owner` to null.
    static GtkShowView* Create(HostPlayer& host, GtkShowView** owner);
    // Destroys the widget (and so this) if it is still there.
    static void Destroy(GtkShowView* view);

    GtkWidget* widget() const { return table_; }

    // ShowView
    void Repaint() override;
    void FrameChanged() override;
    void OfferRestart(bool offered) override;
    void OpenFullScreen() override;
    void CloseFullScreen() override;

  private:
    // The GTK signal handlers.
    struct Signals;
    friend struct Signals;

    GtkShowView(HostPlayer& host, GtkShowView** owner);
    ~GtkShowView() override;

    // `exposed` is the GdkEventExpose being answered.
    void Paint(GtkWidget* target, hostkit::ScaledFrame& scaled, const void* exposed,
               bool withNotice);
    // A key press or release (a GdkEventKey); true when the key was the show's.
    bool HandleKey(const void* keyEvent);
    void NotePlace();
    void WatchToplevel();
    void BringViewForward();

    GtkShowView** owner_;
    ShowController controller_;
    GtkWidget* table_ = nullptr;
    GtkWidget* area_ = nullptr;
    GtkWidget* restart_ = nullptr;  // the button in its own window, over the picture
    GtkWidget* fullScreen_ = nullptr;
    GtkWidget* fullScreenArea_ = nullptr;
    unsigned long mainWatch_ = 0;    // until a main window is shown after this view
    GtkWidget* toplevel_ = nullptr;  // the window the widget is in, watched for moves
    unsigned long moved_ = 0;
    unsigned int snooper_ = 0;
    hostkit::ScaledFrame docked_;
    hostkit::ScaledFrame fullScreenFrame_;
    // Keys held down: X repeats a held key as presses without releases.
    std::set<WPARAM> held_;
    bool broughtForward_ = false;
};

}  // namespace audacious
