// tolvek-screensaver: the Quenari Tolvek show as an XScreenSaver display mode.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/capture/capture_source.h"
#include "platform/host_services.h"
#include "screensaver/saver_host.h"
#include "screensaver/saver_options.h"
#include "screensaver/saver_window.h"
#include "screensaver/window_painter.h"
#include "screensaver/xscreensaver_entry.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnStop(int signal) {
    stopSignal = signal;
}

std::string ProgramPath() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("tolvek-screensaver") : exe.string();
}

// Beside the program in the build tree; where the package puts it when installed.
std::string DefaultPluginPath() {
    const std::filesystem::path dir = std::filesystem::path(ProgramPath()).parent_path();
    const std::filesystem::path beside = dir / "plugin" / "vis_tolvek.so";
    const std::filesystem::path installed = dir / TOLVEK_VIS_RELATIVE_PATH;
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error))
        return installed.lexically_normal().string();
    return beside.string();
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "tolvek-screensaver: %s\n", text.c_str());
    return 1;
}

const char* EndText(saver::ShowEnd end) {
    switch (end) {
        case saver::ShowEnd::Stopped:
            return "stopped by a signal";
        case saver::ShowEnd::WindowGone:
            return "the window went away";
        case saver::ShowEnd::ShowEnded:
            return "the show ended";
        case saver::ShowEnd::CannotPaint:
            return "the window cannot be painted";
        case saver::ShowEnd::NotLoaded:
        case saver::ShowEnd::NotStarted:
            break;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto options =
        saver::ParseSaverOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr,
                     "tolvek-screensaver: %s\nTry 'tolvek-screensaver --help' for more "
                     "information.\n",
                     error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(saver::SaverUsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs("tolvek-screensaver (Quenari Tolvek) " TOLVEK_VERSION "\n", stdout);
        return 0;
    }
    if (options->addToXScreenSaver) {
        const std::string entry = saver::XScreenSaverEntry(ProgramPath(), options->entryArgs);
        const bool added = saver::AddToXScreenSaver(entry, &error);
        std::fprintf(added ? stdout : stderr, "tolvek-screensaver: %s\n", error.c_str());
        return added ? 0 : 1;
    }

    // XScreenSaver stops a mode with SIGTERM; the next turn of the loop ends the show.
    struct sigaction action {};
    action.sa_handler = &OnStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);

    if (options->clockSeconds)
        platform::FixCalendarTime(*options->clockSeconds);

    auto window = saver::SaverWindow::Open(*options, &error);
    if (window == nullptr)
        return Fail(error);
    saver::WindowPainter painter(*window);

    std::unique_ptr<hostkit::CaptureSource> capture;
    std::string source = "silence";
    if (!options->silence) {
        capture = hostkit::CaptureSource::Open(options->captureName, &error);
        if (capture == nullptr)
            std::fprintf(stderr, "tolvek-screensaver: %s; the show runs on silence\n",
                         error.c_str());
        else
            source = capture->name();
    }

    const std::string pluginPath =
        options->pluginPath.empty() ? DefaultPluginPath() : options->pluginPath;
    std::fprintf(stderr, "tolvek-screensaver: showing %s in %s (%dx%d), sound: %s\n",
                 pluginPath.c_str(), window->description().c_str(), window->width(),
                 window->height(), source.c_str());
    const saver::ShowReport report =
        saver::HostShow(pluginPath, *window, painter, capture.get(), stopSignal);
    if (report.end == saver::ShowEnd::NotLoaded || report.end == saver::ShowEnd::NotStarted) {
        // Said on the error output (XScreenSaver's log) and on the screen, which would
        // otherwise stay black until the saver is deactivated.
        const int status = Fail(report.error);
        saver::ShowNotice(report.error, *window, painter, stopSignal);
        return status;
    }
    // Quit has run: what the show leaves behind proves it let go of its display.
    std::fprintf(stderr,
                 "tolvek-screensaver: %s%s%s after %d frames (%s); Quit called, %d display "
                 "objects left\n",
                 EndText(report.end), report.error.empty() ? "" : ": ", report.error.c_str(),
                 report.frames, report.sharedMemory ? "MIT-SHM" : "XPutImage",
                 platform::CountDisplayObjects());
    return report.end == saver::ShowEnd::CannotPaint ? 1 : 0;
}
