// Pieces every host's command line is read with: the player's, `tolvek render`'s and the
// screensaver's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hostkit {

// True when `arg` is the option `name`, alone or as "name=VALUE".
bool IsOption(const std::string& arg, const std::string& name);
// The value of the option `name` at args[*index]: what follows "=", else the next argument
// (and *index moves on to it); nothing, with `error` set, when there is none.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t* index,
                                       const std::string& name, std::string* error);
// --clock's whole seconds, which may be negative; nothing when `text` is not one.
std::optional<std::int64_t> ParseClockSeconds(const std::string& text);

}  // namespace hostkit
