// Loading a visualization plug-in library through its one exported symbol, on Linux and Windows.
#pragma once

#include <string>

#include "host/winamp_vis.h"

namespace hostkit {

class PluginLibrary {
  public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    PluginLibrary(PluginLibrary&& other) noexcept;
    PluginLibrary& operator=(PluginLibrary&& other) noexcept;
    ~PluginLibrary();

    // Loads the library; on failure returns false and `error` says why, in one line naming it.
    bool Load(const std::string& path, std::string* error);

    winampVisHeader* header() const { return header_; }
    winampVisModule* module() const { return module_; }
    // An address inside the library: the instance handle a host gives the module.
    HINSTANCE instance() const { return instance_; }
    // Another symbol the library exports, or null.
    void* Symbol(const char* name) const;

  private:
    void Close();
    void* handle_ = nullptr;
    winampVisHeader* header_ = nullptr;
    winampVisModule* module_ = nullptr;
    HINSTANCE instance_ = nullptr;
};

}  // namespace hostkit
