// Adding the mode to the user's XScreenSaver settings.
#include "screensaver/xscreensaver_entry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace saver {
namespace {

constexpr const char* kHackDir = "/usr/libexec/xscreensaver";  // where XScreenSaver looks
constexpr std::uintmax_t kMaxSettingsBytes = 1 << 20;

std::string ShellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./:@=+,-") == std::string::npos;
    if (plain)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::string XScreenSaverEntry(const std::string& program, const std::vector<std::string>& args) {
    const std::filesystem::path path(program);
    std::string command = path.parent_path() == kHackDir ? path.filename().string() : program;
    std::string entry = "\"Quenari Tolvek\"  " + ShellWord(command) + " --root";
    for (const std::string& arg : args)
        entry += " " + ShellWord(arg);
    return entry;
}

std::string WithEntry(const std::string& contents, const std::string& entry, bool* changed) {
    *changed = false;
    std::size_t at = std::string::npos;
    for (std::size_t line = 0; line < contents.size();) {
        if (contents.compare(line, 9, "programs:") == 0) {
            at = line + 9;
            break;
        }
        const std::size_t next = contents.find('\n', line);
        line = next == std::string::npos ? contents.size() : next + 1;
    }
    if (at == std::string::npos) {
        *changed = true;
        std::string text = contents;
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        return text + "programs:\t\\\n\t\t" + entry + "\n";
    }
    // The list runs over lines joined by a backslash at their end.
    std::size_t end = at;
    while (end < contents.size()) {
        const std::size_t newline = contents.find('\n', end);
        if (newline == std::string::npos) {
            end = contents.size();
            break;
        }
        end = newline + 1;
        if (newline == 0 || contents[newline - 1] != '\\')
            break;
    }
    if (contents.substr(at, end - at).find("tolvek-screensaver") != std::string::npos)
        return contents;
    std::size_t value = contents.find_first_not_of(" \t", at);
    if (value == std::string::npos)
        value = contents.size();
    *changed = true;
    return contents.substr(0, at) + "\t\\\n\t\t" + entry + "\t\\n\\\n" + contents.substr(value);
}

bool AddToXScreenSaver(const std::string& entry, std::string* message) {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        *message = "HOME is not set: no ~/.xscreensaver to add the mode to";
        return false;
    }
    const std::filesystem::path path = std::filesystem::path(home) / ".xscreensaver";
    std::string contents;
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        if (std::filesystem::file_size(path, error) > kMaxSettingsBytes || error) {
            *message = path.string() + ": not a settings file of XScreenSaver's (too large)";
            return false;
        }
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in) {
            *message = path.string() + ": cannot be read";
            return false;
        }
        contents = text.str();
    }
    bool changed = false;
    const std::string updated = WithEntry(contents, entry, &changed);
    if (!changed) {
        *message = path.string() + " already lists Quenari Tolvek";
        return true;
    }
    const std::filesystem::path temporary = path.string() + ".tolvek-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << updated;
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, error);
            *message = temporary.string() + ": cannot be written";
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        *message = path.string() + ": cannot be replaced (" + error.message() + ")";
        return false;
    }
    *message = "added Quenari Tolvek to the display modes in " + path.string() +
               "; choose it in xscreensaver-settings";
    return true;
}

}  // namespace saver
