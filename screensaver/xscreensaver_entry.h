// The mode's line in the list of display modes of ~/.xscreensaver. XScreenSaver lists only the
// modes of its `programs` setting (its own defaults, with the user's file over them), and a
// package must not edit the system-wide defaults of the xscreensaver-data package: so each
// user adds the line once, which this does.
#pragma once

#include <string>
#include <vector>

namespace saver {

// The entry: "Quenari Tolvek"  COMMAND --root ARGS, where COMMAND is the bare name when the
// program lives in XScreenSaver's own folder of modes, else its full path.
std::string XScreenSaverEntry(const std::string& program, const std::vector<std::string>& args);

// Puts `entry` first in the `programs` list of `contents` (a .xscreensaver file, possibly
// empty); nothing when the list already has a line for tolvek-screensaver.
std::string WithEntry(const std::string& contents, const std::string& entry, bool* changed);

// Adds the entry to ~/.xscreensaver (written anew under a temporary name, then renamed). Returns
// false with `message` saying why; on success `message` says what was done.
bool AddToXScreenSaver(const std::string& entry, std::string* message);

}  // namespace saver
