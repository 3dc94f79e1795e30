// Where the Windows test host finds the plug-in when it is not told.
#pragma once

#include <string>

namespace winhost {

// The plug-in beside this program: plugin\vis_tolvek.dll if there is one, else vis_tolvek.dll.
std::string DefaultPluginPath();

}  // namespace winhost
