// Loading the plug-in DLL the way the media player does: LoadLibraryA, then GetProcAddress of
// its one export, refusing DLLs that do not speak the visualization interface.
#pragma once

#include <string>

#include "host/winamp_vis.h"

namespace winhost {

class PluginDll {
  public:
    PluginDll() = default;
    PluginDll(const PluginDll&) = delete;
    PluginDll& operator=(const PluginDll&) = delete;
    ~PluginDll();

    // False with one line in `error` naming the DLL and the problem.
    bool Load(const std::string& path, std::string* error);

    winampVisHeader* header() const { return header_; }
    winampVisModule* module() const { return module_; }
    HINSTANCE instance() const { return instance_; }

  private:
    HINSTANCE instance_ = nullptr;
    winampVisHeader* header_ = nullptr;
    winampVisModule* module_ = nullptr;
};

// The plug-in beside this program: plugin\vis_tolvek.dll if there is one, else vis_tolvek.dll.
std::string DefaultPluginPath();

}  // namespace winhost
