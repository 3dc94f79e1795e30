// Parsing the player's command line, GNU style.
#include "player/options.h"

#include "hostkit/command_line.h"

namespace player {

using hostkit::IsOption;
using hostkit::OptionValue;
using hostkit::ParseClockSeconds;

std::string UsageText() {
    return "Usage: tolvek [OPTION]... [FILE]...\n"
           "  or:  tolvek render [SOUND] [OPTION]...   (see tolvek render --help)\n"
           "Plays the sound files in order (WAV, FLAC, Ogg Vorbis, Opus, MP3) and shows the\n"
           "Quenari Tolvek visualization with them. A folder plays its sound files in name\n"
           "order, subfolders too; a playlist (.m3u, .m3u8, .pls) its entries. With no file and\n"
           "no --capture it plays a built-in tune. Files dropped on the show join the list.\n"
           "\n"
           "  --capture [NAME]  show the sound the system plays (the monitor of the default\n"
           "                    output), or the capture source NAME\n"
           "  --list-devices    print the capture sources and exit\n"
           "  --window          show in a window instead of full screen\n"
           "  --shuffle         play the list in an order of its own, every file once a round\n"
           "  --repeat          start the list again after its last file\n"
           "  --clock SECONDS   fix the calendar time the show seeds its random numbers from\n"
           "  --plugin PATH     host this visualization plug-in instead of vis_tolvek.so\n"
           "  --help            print this help and exit\n"
           "  --version         print the version and exit\n"
           "\n"
           "Keys: X play, C or Space pause, V stop, Z/B previous/next file, Left/Right seek\n"
           "5 s, Up/Down volume, S shuffle, R repeat, P save the frame on screen as a PNG in\n"
           "the pictures folder, F full screen or window, Q or Escape quit.\n"
           "Without a display, `tolvek render` makes PNG frames or a video of the show.\n";
}

std::optional<PlayerOptions> ParseOptions(const std::vector<std::string>& args,
                                          std::string* error) {
    PlayerOptions options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const std::string& name) { return OptionValue(args, &i, name, error); };
        auto is = [&](const std::string& name) { return IsOption(arg, name); };
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--shuffle") {
            options.shuffle = true;
        } else if (arg == "--repeat") {
            options.repeat = true;
        } else if (arg == "--list-devices") {
            options.listDevices = true;
        } else if (is("--capture")) {
            options.capture = true;
            if (arg.size() > 10) {
                options.captureSource = arg.substr(10);
            } else if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') {
                options.captureSource = args[++i];
            }
        } else if (is("--plugin")) {
            auto path = value("--plugin");
            if (!path)
                return std::nullopt;
            options.pluginPath = *path;
        } else if (is("--clock")) {
            auto text = value("--clock");
            if (!text)
                return std::nullopt;
            options.clockSeconds = ParseClockSeconds(*text);
            if (!options.clockSeconds) {
                *error = "--clock takes whole seconds, not '" + *text + "'";
                return std::nullopt;
            }
        } else {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (options.capture && !options.files.empty()) {
        *error = "--capture shows live sound; it takes no files";
        return std::nullopt;
    }
    return options;
}

}  // namespace player
