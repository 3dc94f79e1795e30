// Reading the hosts' command lines.
#include "hostkit/command_line.h"

#include <cerrno>
#include <cstdlib>

namespace hostkit {

bool IsOption(const std::string& arg, const std::string& name) {
    return arg == name || arg.compare(0, name.size() + 1, name + "=") == 0;
}

std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t* index,
                                       const std::string& name, std::string* error) {
    const std::string& arg = args[*index];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0)
        return arg.substr(name.size() + 1);
    if (*index + 1 < args.size())
        return args[++*index];
    *error = "option " + name + " needs a value";
    return std::nullopt;
}

std::optional<std::int64_t> ParseClockSeconds(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long long seconds = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        return std::nullopt;
    return seconds;
}

}  // namespace hostkit
