// The player's command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace player {

struct PlayerOptions {
    std::vector<std::string> files;
    std::string pluginPath;  // empty: the plug-in folder next to the program
    bool capture = false;
    std::string captureSource;  // empty: the default output's monitor
    bool listDevices = false;
    bool window = false;
    bool shuffle = false;
    bool repeat = false;
    std::optional<std::int64_t> clockSeconds;
    bool help = false;
    bool version = false;
};

// Parses argv[1..]; on a usage error returns nothing and sets `error` to one line.
std::optional<PlayerOptions> ParseOptions(const std::vector<std::string>& args, std::string* error);
std::string UsageText();

}  // namespace player
