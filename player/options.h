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

// Pieces both command lines (the player's and `tolvek render`'s) are read with.
// True when `arg` is the option `name`, alone or as "name=VALUE".
bool IsOption(const std::string& arg, const std::string& name);
// The value of the option `name` at args[*index]: what follows "=", else the next argument
// (and *index moves on to it); nothing, with `error` set, when there is none.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t* index,
                                       const std::string& name, std::string* error);
// --clock's whole seconds, which may be negative; nothing when `text` is not one.
std::optional<std::int64_t> ParseClockSeconds(const std::string& text);

}  // namespace player
