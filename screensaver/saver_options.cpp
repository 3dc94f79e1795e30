// Parsing the hack's command line.
#include "screensaver/saver_options.h"

#include <cerrno>
#include <cstdlib>

#include "hostkit/command_line.h"

namespace saver {
namespace {

// XScreenSaver 6 writes options with two dashes, older hacks and settings with one.
std::string WithTwoDashes(const std::string& arg) {
    if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-')
        return "-" + arg;
    return arg;
}

std::optional<unsigned long> ParseWindowId(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const unsigned long long id = std::strtoull(text.c_str(), &end, 0);  // 0x... or decimal
    if (text.empty() || text[0] == '-' || *end != '\0' || errno == ERANGE || id == 0 ||
        id > 0x1FFFFFFFull) {  // X resource ids have 29 bits
        return std::nullopt;
    }
    return static_cast<unsigned long>(id);
}

}  // namespace

std::string SaverUsageText() {
    return "Usage: tolvek-screensaver [OPTION]...\n"
           "An XScreenSaver display mode: the Quenari Tolvek visualization, scaled to the\n"
           "window with its aspect kept, following the sound the computer plays.\n"
           "\n"
           "  --root             draw on the root window (XScreenSaver's window when it runs\n"
           "                     the hack: $XSCREENSAVER_WINDOW)\n"
           "  --window           draw in a window of its own (the default outside XScreenSaver)\n"
           "  --window-id ID     draw in the window ID (decimal or 0x hexadecimal)\n"
           "  --display NAME     the X display (default $DISPLAY)\n"
           "  --capture NAME     show the capture source NAME instead of the monitor of the\n"
           "                     default output (`tolvek --list-devices` lists them)\n"
           "  --silence          show no sound at all (over --capture)\n"
           "  --clock SECONDS    fix the calendar time the show seeds its random numbers from\n"
           "  --plugin PATH      host this visualization plug-in instead of vis_tolvek.so\n"
           "  --add-to-xscreensaver  add the mode to the list in ~/.xscreensaver (with the\n"
           "                     --capture, --silence, --clock and --plugin given) and exit\n"
           "  --help             print this help and exit\n"
           "  --version          print the version and exit\n"
           "\n"
           "Options may also be written with one dash, as XScreenSaver's older hacks take them.\n"
           "With no sound server the show runs on silence. SIGTERM ends the show cleanly.\n";
}

std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              std::string* error) {
    SaverOptions options;
    std::vector<std::string> normal;
    normal.reserve(args.size());
    for (const std::string& arg : args)
        normal.push_back(WithTwoDashes(arg));
    for (std::size_t i = 0; i < normal.size(); ++i) {
        const std::string& arg = normal[i];
        auto value = [&](const std::string& name) {
            return hostkit::OptionValue(normal, &i, name, error);
        };
        auto is = [&](const std::string& name) { return hostkit::IsOption(arg, name); };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--root") {
            options.target = Target::Root;
        } else if (arg == "--window") {
            options.target = Target::OwnWindow;
        } else if (is("--window-id")) {
            auto text = value("--window-id");
            if (!text)
                return std::nullopt;
            auto id = ParseWindowId(*text);
            if (!id) {
                *error = "--window-id takes a window id such as 0x1a00003, not '" + *text + "'";
                return std::nullopt;
            }
            options.target = Target::WindowId;
            options.windowId = *id;
        } else if (is("--display")) {
            auto name = value("--display");
            if (!name)
                return std::nullopt;
            options.display = *name;
        } else if (arg == "--silence") {
            options.silence = true;
            options.entryArgs.push_back(arg);
        } else if (is("--capture")) {
            auto name = value("--capture");
            if (!name)
                return std::nullopt;
            options.captureName = *name;
            options.entryArgs.insert(options.entryArgs.end(), {"--capture", *name});
        } else if (is("--clock")) {
            auto text = value("--clock");
            if (!text)
                return std::nullopt;
            options.clockSeconds = hostkit::ParseClockSeconds(*text);
            if (!options.clockSeconds) {
                *error = "--clock takes whole seconds, not '" + *text + "'";
                return std::nullopt;
            }
            options.entryArgs.insert(options.entryArgs.end(), {"--clock", *text});
        } else if (is("--plugin")) {
            auto path = value("--plugin");
            if (!path)
                return std::nullopt;
            options.pluginPath = *path;
            options.entryArgs.insert(options.entryArgs.end(), {"--plugin", *path});
        } else if (arg == "--add-to-xscreensaver") {
            options.addToXScreenSaver = true;
        } else {
            *error = "unknown option " + args[i];
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace saver
