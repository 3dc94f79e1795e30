// The Audacious visualization plug-in "Quenari Tolvek", built twice from this file as Audacious
// ships its own visualizations: quenari-tolvek.so for the GTK mode (a GTK 2 widget, GLib's main
// loop) and quenari-tolvek-qt.so for the Qt mode. Audacious offers each only in its own mode.
#include <libaudcore/plugin.h>
#include <libaudcore/preferences.h>

#include "audacious/audacious_player.h"

#if defined(TOLVEK_AUDACIOUS_GTK)
#include "audacious/gtk_view.h"
#elif defined(TOLVEK_AUDACIOUS_QT)
#include <QPointer>

#include "audacious/qt_view.h"
#else
#error "build for GTK (TOLVEK_AUDACIOUS_GTK) or Qt (TOLVEK_AUDACIOUS_QT)"
#endif

// Texts Audacious shows as they are (the plug-in has no translations).
#define N_(text) text

namespace {

using audacious::kSection;

const PreferencesWidget kPreferences[] = {
    WidgetEntry(N_("Visualization plug-in (empty: the one installed with this):"),
                WidgetString(kSection, "plugin_path")),
    WidgetCheck(N_("Full screen when the show starts"), WidgetBool(kSection, "full_screen")),
};
const PluginPreferences kPluginPreferences = {{kPreferences}, nullptr, nullptr, nullptr};

#if defined(TOLVEK_AUDACIOUS_GTK)
constexpr int kMainLoop = PluginGLibOnly;
#else
constexpr int kMainLoop = PluginQtOnly;
#endif

}  // namespace

// Outside the unnamed namespace: Audacious finds the instance by its name.
class TolvekVisualization : public VisPlugin {
  public:
    static constexpr PluginInfo kInfo = {
        N_("Quenari Tolvek"), kSection,
        N_("Quenari Tolvek\n\nThe 8-bit, 256-colour show of the visualization plug-in "
           "vis_tolvek.so (or any plug-in of the same interface), played inside Audacious.\n\n"
           "Double click or F: full screen. Escape ends the show. X play, C pause, V stop, "
           "Z/B previous/next, Left/Right seek, Up/Down volume, S shuffle, R repeat, "
           "P saves the frame on screen in the pictures folder."),
        &kPluginPreferences, kMainLoop};

    TolvekVisualization() : VisPlugin(kInfo, Visualizer::MultiPCM) {}

    bool init() override {
        player_.Init();
        return true;
    }

    void cleanup() override {
        // Audacious quitting, or the plug-in disabled: the widget goes with it.
#if defined(TOLVEK_AUDACIOUS_GTK)
        audacious::GtkShowView::Destroy(view_);
        view_ = nullptr;
#else
        delete view_.data();
#endif
        player_.Cleanup();
    }

#if defined(TOLVEK_AUDACIOUS_GTK)
    void* get_gtk_widget() override {
        if (view_ == nullptr)
            view_ = audacious::GtkShowView::Create(player_, &view_);
        return view_->widget();
    }
#else
    void* get_qt_widget() override {
        if (view_)
            return view_.data();
        view_ = new audacious::QtShowView(player_);
        view_->setObjectName("QuenariTolvek");
        return view_.data();
    }
#endif

    void clear() override {
        player_.Ring().Clear();
    }

    void render_multi_pcm(const float* pcm, int channels) override {
        // Audacious calls this on its main thread, 512 frames at a time, timed to what is heard.
        player_.Ring().Push(pcm, audacious::kAudaciousBlockFrames, channels);
    }

  private:
    audacious::AudaciousPlayer player_;
#if defined(TOLVEK_AUDACIOUS_GTK)
    audacious::GtkShowView* view_ = nullptr;
#else
    QPointer<audacious::QtShowView> view_;
#endif
};

// The one symbol Audacious looks for in a plug-in library.
__attribute__((visibility("default"))) TolvekVisualization aud_plugin_instance;
