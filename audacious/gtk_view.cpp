// The GTK 2 widget, its full-screen view and its keys.
#include "audacious/gtk_view.h"

// After the window layer's headers (see gtk_view.h).
#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <cstring>
#include <string>

namespace audacious {
namespace {

constexpr const char* kViewTitle = "Quenari Tolvek";

// The virtual-key code of a GDK key, 0 for keys the show is not told of.
WPARAM VirtualKey(guint keyval) {
    const guint upper = gdk_keyval_to_upper(keyval);
    if ((upper >= GDK_KEY_A && upper <= GDK_KEY_Z) || (upper >= GDK_KEY_0 && upper <= GDK_KEY_9))
        return static_cast<WPARAM>(upper);  // the same codes
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12)
        return static_cast<WPARAM>(VK_F1 + (keyval - GDK_KEY_F1));
    switch (keyval) {
        case GDK_KEY_Escape:
            return VK_ESCAPE;
        case GDK_KEY_space:
            return VK_SPACE;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return VK_RETURN;
        case GDK_KEY_BackSpace:
            return VK_BACK;
        case GDK_KEY_Tab:
            return VK_TAB;
        case GDK_KEY_Left:
            return VK_LEFT;
        case GDK_KEY_Right:
            return VK_RIGHT;
        case GDK_KEY_Up:
            return VK_UP;
        case GDK_KEY_Down:
            return VK_DOWN;
        case GDK_KEY_Page_Up:
            return VK_PRIOR;
        case GDK_KEY_Page_Down:
            return VK_NEXT;
        case GDK_KEY_Home:
            return VK_HOME;
        case GDK_KEY_End:
            return VK_END;
        default:
            return 0;
    }
}

GtkAllocation AllocationOf(GtkWidget* widget) {
    GtkAllocation allocation{};
    gtk_widget_get_allocation(widget, &allocation);
    return allocation;
}

}  // namespace

struct GtkShowView::Signals {
    static gboolean Expose(GtkWidget* widget, GdkEventExpose* event, gpointer self);
    static gboolean FullScreenExpose(GtkWidget* widget, GdkEventExpose* event, gpointer self);
    static gboolean Button(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean Key(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gint Snoop(GtkWidget* grabWidget, GdkEventKey* event, gpointer self);
    static void Map(GtkWidget* widget, gpointer self);
    static void Unmap(GtkWidget* widget, gpointer self);
    static void Allocate(GtkWidget* widget, GtkAllocation* allocation, gpointer self);
    static gboolean Moved(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
    static void Destroyed(GtkWidget* widget, gpointer self);
    static gboolean FullScreenDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean SomethingMapped(GSignalInvocationHint* hint, guint count, const GValue* values,
                                    gpointer self);
    static void Restart(GtkButton* button, gpointer self);
};

GtkShowView* GtkShowView::Create(HostPlayer& host, GtkShowView** owner) {
    return new GtkShowView(host, owner);
}

void GtkShowView::Destroy(GtkShowView* view) {
    if (view != nullptr)
        gtk_widget_destroy(view->table_);  // its destroy signal deletes the view
}

GtkShowView::GtkShowView(HostPlayer& host, GtkShowView** owner)
    : owner_(owner), controller_(host, *this) {
    // One table cell holds the picture and, over it, the button in a window of its own.
    table_ = gtk_table_new(1, 1, FALSE);
    g_object_ref_sink(table_);
    area_ = gtk_drawing_area_new();
    gtk_widget_set_size_request(area_, 160, 120);
    gtk_widget_set_can_focus(area_, TRUE);
    // Every pixel is painted on each expose: no off-screen copy of the whole widget first.
    gtk_widget_set_double_buffered(area_, FALSE);
    gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                                     GDK_STRUCTURE_MASK);
    gtk_table_attach(GTK_TABLE(table_), area_, 0, 1, 0, 1,
                     static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL),
                     static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL), 0, 0);
    restart_ = gtk_event_box_new();
    GtkWidget* button = gtk_button_new_with_label("Start the show again");
    gtk_container_add(GTK_CONTAINER(restart_), button);
    gtk_widget_show(button);
    // Hidden until the show ends, whatever the interface shows of the rest.
    gtk_widget_set_no_show_all(restart_, TRUE);
    gtk_table_attach(GTK_TABLE(table_), restart_, 0, 1, 0, 1, static_cast<GtkAttachOptions>(0),
                     static_cast<GtkAttachOptions>(0), 0, 0);
    gtk_widget_show(area_);

    g_signal_connect(area_, "expose-event", G_CALLBACK(Signals::Expose), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(Signals::Button), this);
    g_signal_connect(area_, "map", G_CALLBACK(Signals::Map), this);
    g_signal_connect(area_, "unmap", G_CALLBACK(Signals::Unmap), this);
    g_signal_connect(area_, "size-allocate", G_CALLBACK(Signals::Allocate), this);
    g_signal_connect(button, "clicked", G_CALLBACK(Signals::Restart), this);
    g_signal_connect(table_, "destroy", G_CALLBACK(Signals::Destroyed), this);
    // The interfaces take some keys at their window before the focused widget sees them
    // (Escape, the transport letters); while the show has the focus, its keys are its own.
    snooper_ = gtk_key_snooper_install(&Signals::Snoop, this);
}

GtkShowView::~GtkShowView() {
    controller_.Stop();
    gtk_key_snooper_remove(snooper_);
    if (mainWatch_ != 0)
        g_signal_remove_emission_hook(g_signal_lookup("map-event", GTK_TYPE_WIDGET), mainWatch_);
    if (toplevel_ != nullptr) {
        g_signal_handler_disconnect(toplevel_, moved_);
        g_object_remove_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    }
    if (fullScreen_ != nullptr)
        gtk_widget_destroy(fullScreen_);
    if (owner_ != nullptr && *owner_ == this)
        *owner_ = nullptr;
    g_object_unref(table_);
}

void GtkShowView::Signals::Destroyed(GtkWidget*, gpointer self) {
    delete static_cast<GtkShowView*>(self);
}

void GtkShowView::Repaint() {
    // Nothing of the docked widget shows while the full-screen view covers the screen.
    GtkWidget* target = fullScreen_ != nullptr ? fullScreenArea_ : area_;
    // The notices are painted over the picture: buffered then, so that they do not flicker.
    gtk_widget_set_double_buffered(area_, controller_.HasNotice());
    gtk_widget_queue_draw(target);
}

void GtkShowView::FrameChanged() {
    GtkWidget* target = fullScreen_ != nullptr ? fullScreenArea_ : area_;
    hostkit::ScaledFrame& scaled = fullScreen_ != nullptr ? fullScreenFrame_ : docked_;
    const hostkit::RenderedFrame* frame = controller_.frame();
    if (frame == nullptr || !gtk_widget_get_mapped(target))
        return;
    const GtkAllocation area = AllocationOf(target);
    const hostkit::Box box =
        hostkit::Letterbox(area.width, area.height, frame->width, frame->height);
    if (scaled.Scale(*frame, controller_.frameSerial(), box.width, box.height).empty())
        return;
    if (target == area_ && controller_.HasNotice()) {
        gtk_widget_queue_draw(target);  // the notices lie over the picture
        return;
    }
    // Only what changed is painted and handed to the window system.
    GdkRegion* changed = gdk_region_new();
    for (const hostkit::Box& part : scaled.changed()) {
        const GdkRectangle rectangle{box.x + part.x, box.y + part.y, part.width, part.height};
        gdk_region_union_with_rect(changed, &rectangle);
    }
    gdk_window_invalidate_region(gtk_widget_get_window(target), changed, FALSE);
    gdk_region_destroy(changed);
}

void GtkShowView::OfferRestart(bool offered) {
    if (offered)
        gtk_widget_show(restart_);
    else
        gtk_widget_hide(restart_);
}

void GtkShowView::OpenFullScreen() {
    if (fullScreen_ != nullptr)
        return;
    fullScreen_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(fullScreen_), "Quenari Tolvek, full screen");
    fullScreenArea_ = gtk_drawing_area_new();
    gtk_widget_set_double_buffered(fullScreenArea_, FALSE);
    gtk_widget_add_events(fullScreenArea_, GDK_BUTTON_PRESS_MASK);
    gtk_container_add(GTK_CONTAINER(fullScreen_), fullScreenArea_);
    g_signal_connect(fullScreenArea_, "expose-event", G_CALLBACK(Signals::FullScreenExpose), this);
    g_signal_connect(fullScreenArea_, "button-press-event", G_CALLBACK(Signals::Button), this);
    g_signal_connect(fullScreen_, "key-press-event", G_CALLBACK(Signals::Key), this);
    g_signal_connect(fullScreen_, "key-release-event", G_CALLBACK(Signals::Key), this);
    g_signal_connect(fullScreen_, "delete-event", G_CALLBACK(Signals::FullScreenDelete), this);
    // The monitor's size as well as the full-screen state: without a window manager nobody
    // else would give the window that size.
    GdkScreen* screen = gtk_widget_get_screen(area_);
    GdkWindow* where = gtk_widget_get_window(area_);
    const int monitor = where != nullptr ? gdk_screen_get_monitor_at_window(screen, where) : 0;
    GdkRectangle geometry{};
    gdk_screen_get_monitor_geometry(screen, monitor, &geometry);
    gtk_window_move(GTK_WINDOW(fullScreen_), geometry.x, geometry.y);
    gtk_window_set_default_size(GTK_WINDOW(fullScreen_), geometry.width, geometry.height);
    gtk_window_fullscreen(GTK_WINDOW(fullScreen_));
    gtk_widget_show_all(fullScreen_);
    gtk_window_present(GTK_WINDOW(fullScreen_));
}

void GtkShowView::CloseFullScreen() {
    if (fullScreen_ != nullptr) {
        GtkWidget* window = fullScreen_;
        fullScreen_ = nullptr;
        fullScreenArea_ = nullptr;
        gtk_widget_destroy(window);
        fullScreenFrame_ = hostkit::ScaledFrame{};  // megabytes at a screen's size
    }
    gtk_widget_grab_focus(area_);
    gtk_widget_queue_draw(area_);
}

void GtkShowView::Paint(GtkWidget* target, hostkit::ScaledFrame& scaled, const void* exposed,
                        bool withNotice) {
    GdkWindow* window = gtk_widget_get_window(target);
    if (window == nullptr)
        return;
    const auto* event = static_cast<const GdkEventExpose*>(exposed);
    const GtkAllocation area = AllocationOf(target);
    cairo_t* cr = gdk_cairo_create(window);
    gdk_cairo_region(cr, event->region);
    cairo_clip(cr);
    const hostkit::RenderedFrame* frame = controller_.frame();
    const hostkit::Box box =
        frame != nullptr ? hostkit::Letterbox(area.width, area.height, frame->width, frame->height)
                         : hostkit::Box{};
    const GdkRectangle picture{box.x, box.y, box.width, box.height};
    GdkRectangle inside{};
    const bool coversPicture = gdk_rectangle_intersect(&event->area, &picture, &inside) &&
                               inside.width == picture.width && inside.height == picture.height;
    const bool withinPicture = gdk_rectangle_intersect(&event->area, &picture, &inside) &&
                               inside.width == event->area.width &&
                               inside.height == event->area.height;
    cairo_set_source_rgb(cr, 0, 0, 0);
    if (!box.empty()) {
        // Scaled already when the frame came, unless the size changed since.
        if (!scaled.Scale(*frame, controller_.frameSerial(), box.width, box.height).empty() &&
            !coversPicture) {
            gtk_widget_queue_draw_area(target, box.x, box.y, box.width, box.height);
        }
        // Only the bars around the picture are black, and only when they are to be painted.
        if (!withinPicture) {
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_rectangle(cr, 0, 0, area.width, area.height);
            cairo_rectangle(cr, box.x, box.y, box.width, box.height);
            cairo_fill(cr);
        }
        // The pixels are painted where they are, without a copy.
        cairo_surface_t* image = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(scaled.pixels())),
            CAIRO_FORMAT_RGB24, scaled.width(), scaled.height(), scaled.strideBytes());
        cairo_set_source_surface(cr, image, box.x, box.y);
        cairo_rectangle(cr, box.x, box.y, box.width, box.height);
        cairo_fill(cr);
        cairo_surface_destroy(image);
    } else {
        cairo_paint(cr);
    }
    if (withNotice && controller_.HasNotice()) {
        const std::string notice = controller_.NoticeText();
        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_layout_set_font_description(layout, gtk_widget_get_style(target)->font_desc);
        pango_layout_set_text(layout, notice.c_str(), -1);
        pango_layout_set_width(layout, (area.width - 16) * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        PangoRectangle ink{}, logical{};
        pango_layout_get_pixel_extents(layout, &ink, &logical);
        cairo_set_source_rgba(cr, 0, 0, 0, 200.0 / 255.0);
        cairo_rectangle(cr, 8 + logical.x - 6, 8 + logical.y - 4, logical.width + 12,
                        logical.height + 8);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, 8, 8);
        pango_cairo_show_layout(cr, layout);
        g_object_unref(layout);
    }
    cairo_destroy(cr);
}

gboolean GtkShowView::Signals::Expose(GtkWidget* widget, GdkEventExpose* event, gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    view->Paint(widget, view->docked_, event, true);
    return TRUE;
}

gboolean GtkShowView::Signals::FullScreenExpose(GtkWidget* widget, GdkEventExpose* event,
                                                gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    view->Paint(widget, view->fullScreenFrame_, event, false);
    return TRUE;
}

gboolean GtkShowView::Signals::Button(GtkWidget* widget, GdkEventButton* event, gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    if (event->type == GDK_2BUTTON_PRESS) {
        view->controller_.ToggleFullScreen();
        return TRUE;
    }
    if (event->type == GDK_BUTTON_PRESS && widget == view->area_)
        gtk_widget_grab_focus(view->area_);
    return FALSE;
}

bool GtkShowView::HandleKey(const void* keyEvent) {
    const auto* event = static_cast<const GdkEventKey*>(keyEvent);
    // The interface's shortcuts (Ctrl+Q, Alt+F ...) stay the interface's.
    if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK)) != 0)
        return false;
    const WPARAM key = VirtualKey(event->keyval);
    if (key == 0)
        return false;
    const bool down = event->type == GDK_KEY_PRESS;
    const bool repeat = down && held_.count(key) != 0;
    if (down)
        held_.insert(key);
    else
        held_.erase(key);
    return controller_.Key(key, down, repeat);
}

gboolean GtkShowView::Signals::Key(GtkWidget*, GdkEventKey* event, gpointer self) {
    return static_cast<GtkShowView*>(self)->HandleKey(event) ? TRUE : FALSE;
}

gint GtkShowView::Signals::Snoop(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    if (!gtk_widget_has_focus(view->area_) || event->window == nullptr)
        return FALSE;
    GdkWindow* top = gtk_widget_get_window(gtk_widget_get_toplevel(view->area_));
    if (top == nullptr || gdk_window_get_toplevel(event->window) != top)
        return FALSE;
    return view->HandleKey(event) ? TRUE : FALSE;
}

void GtkShowView::Signals::Map(GtkWidget*, gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    view->WatchToplevel();
    view->NotePlace();
    view->BringViewForward();
    view->controller_.ViewShown();
}

void GtkShowView::Signals::Unmap(GtkWidget*, gpointer self) {
    // The view closed or moved between a dock and a window of its own.
    static_cast<GtkShowView*>(self)->controller_.Stop();
}

void GtkShowView::Signals::Allocate(GtkWidget*, GtkAllocation*, gpointer self) {
    static_cast<GtkShowView*>(self)->NotePlace();
}

void GtkShowView::WatchToplevel() {
    // The window the widget is in moves without the widget being allocated anew; docking and
    // floating put it in another window.
    GtkWidget* top = gtk_widget_get_toplevel(area_);
    if (top == toplevel_ || !GTK_IS_WINDOW(top))
        return;
    if (toplevel_ != nullptr) {
        g_signal_handler_disconnect(toplevel_, moved_);
        g_object_remove_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    }
    toplevel_ = top;
    g_object_add_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    moved_ = g_signal_connect(toplevel_, "configure-event", G_CALLBACK(Signals::Moved), this);
}

gboolean GtkShowView::Signals::Moved(GtkWidget*, GdkEventConfigure*, gpointer self) {
    static_cast<GtkShowView*>(self)->NotePlace();
    return FALSE;
}

void GtkShowView::NotePlace() {
    GdkWindow* window = gtk_widget_get_window(area_);
    if (window == nullptr || !gtk_widget_get_mapped(area_))
        return;
    int x = 0, y = 0;
    gdk_window_get_origin(window, &x, &y);
    const GtkAllocation area = AllocationOf(area_);
    controller_.ViewPlaced(x, y, area.width, area.height);
}

namespace {

// An ordinary top-level window of Audacious's (a main window) other than `except`.
bool IsMainWindow(GtkWidget* widget, GtkWidget* except) {
    return GTK_IS_WINDOW(widget) && widget != except &&
           gtk_window_get_window_type(GTK_WINDOW(widget)) == GTK_WINDOW_TOPLEVEL &&
           gtk_window_get_type_hint(GTK_WINDOW(widget)) == GDK_WINDOW_TYPE_HINT_NORMAL;
}

}  // namespace

void GtkShowView::BringViewForward() {
    // Only a view of its own (a floating window of the GTK interface, the skinned interface's
    // window) is raised, never the main window the widget may be docked in.
    GtkWidget* top = gtk_widget_get_toplevel(area_);
    const char* title = GTK_IS_WINDOW(top) ? gtk_window_get_title(GTK_WINDOW(top)) : nullptr;
    if (broughtForward_ || title == nullptr || std::strcmp(title, kViewTitle) != 0)
        return;
    broughtForward_ = true;
    bool mainShown = false;
    GList* all = gtk_window_list_toplevels();
    for (GList* node = all; node != nullptr; node = node->next) {
        auto* window = GTK_WIDGET(node->data);
        mainShown = mainShown || (IsMainWindow(window, top) && window != fullScreen_ &&
                                  gtk_widget_get_mapped(window));
    }
    g_list_free(all);
    if (mainShown) {
        gdk_window_raise(gtk_widget_get_window(top));
        return;
    }
    // Audacious shows its main window after the views that were enabled when it started (the
    // GTK interface even makes it after them): the window manager would stack it above this
    // one. Once any main window is shown, this one is raised.
    mainWatch_ = g_signal_add_emission_hook(g_signal_lookup("map-event", GTK_TYPE_WIDGET), 0,
                                            &Signals::SomethingMapped, this, nullptr);
}

gboolean GtkShowView::Signals::SomethingMapped(GSignalInvocationHint*, guint, const GValue* values,
                                               gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    auto* widget = GTK_WIDGET(g_value_get_object(&values[0]));
    GtkWidget* top = gtk_widget_get_toplevel(view->area_);
    if (!IsMainWindow(widget, top) || widget == view->fullScreen_)
        return TRUE;  // keep watching
    view->mainWatch_ = 0;
    if (GdkWindow* window = gtk_widget_get_window(top))
        gdk_window_raise(window);
    return FALSE;  // once
}

gboolean GtkShowView::Signals::FullScreenDelete(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<GtkShowView*>(self)->controller_.ToggleFullScreen();
    return TRUE;
}

void GtkShowView::Signals::Restart(GtkButton*, gpointer self) {
    auto* view = static_cast<GtkShowView*>(self);
    view->controller_.StartAgain();
    gtk_widget_grab_focus(view->area_);
}

}  // namespace audacious
