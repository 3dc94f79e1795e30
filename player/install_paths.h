// Where the program finds the plug-in it hosts: beside it in the build tree, or where it is
// installed relative to the program.
#pragma once

#include <string>

namespace player {

// <program folder>/plugin/vis_tolvek.so in the build tree; <prefix>/lib/tolvek/vis_tolvek.so
// when the program is installed as <prefix>/bin/tolvek.
std::string DefaultPluginPath();

}  // namespace player
