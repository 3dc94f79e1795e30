// The hack's command line: where to draw, the usual XScreenSaver spellings (one dash or two),
// and the player's sound and clock options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace saver {

enum class Target {
    Automatic,  // $XSCREENSAVER_WINDOW when XScreenSaver runs the hack, else a window of its own
    WindowId,   // the window given by -window-id
    Root,       // the (virtual) root window: XScreenSaver's own window when it runs the hack
    OwnWindow,  // a window of its own, even under XScreenSaver
};

struct SaverOptions {
    Target target = Target::Automatic;
    unsigned long windowId = 0;
    std::string display;      // empty: $DISPLAY
    bool silence = false;     // no sound at all
    std::string captureName;  // empty: the monitor of the default output
    std::optional<std::int64_t> clockSeconds;
    std::string pluginPath;  // empty: vis_tolvek.so where the package puts it
    bool addToXScreenSaver = false;
    std::vector<std::string> entryArgs;  // the sound and clock options, for the entry
    bool help = false;
    bool version = false;
};

// Parses argv[1..]; on a usage error returns nothing and sets `error` to one line.
std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              std::string* error);
std::string SaverUsageText();

}  // namespace saver
