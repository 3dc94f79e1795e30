// dlopen/dlsym loading of a visualization plug-in, refusing libraries that do not speak the
// interface.
#include "player/plugin_loader.h"

#include <dlfcn.h>

#include <utility>

namespace player {

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept {
    *this = std::move(other);
}

PluginLibrary& PluginLibrary::operator=(PluginLibrary&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
        header_ = std::exchange(other.header_, nullptr);
        module_ = std::exchange(other.module_, nullptr);
        instance_ = std::exchange(other.instance_, nullptr);
    }
    return *this;
}

PluginLibrary::~PluginLibrary() {
    Close();
}

void* PluginLibrary::Symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

void PluginLibrary::Close() {
    if (handle_ != nullptr)
        dlclose(handle_);
    handle_ = nullptr;
    header_ = nullptr;
    module_ = nullptr;
    instance_ = nullptr;
}

bool PluginLibrary::Load(const std::string& path, std::string* error) {
    Close();
    // A path without a slash would be searched for in the system's library folders.
    std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        *error = path + ": cannot load the plug-in: " + (why != nullptr ? why : "unknown error");
        return false;
    }
    void* symbol = dlsym(handle, "winampVisGetHeader");
    if (symbol == nullptr) {
        dlclose(handle);
        *error = path + ": not a visualization plug-in (no winampVisGetHeader)";
        return false;
    }
    auto getHeader = reinterpret_cast<winampVisGetHeaderType>(symbol);
    winampVisHeader* header = getHeader();
    if (header == nullptr || header->version != VIS_HDRVER || header->getModule == nullptr) {
        dlclose(handle);
        *error = path + ": plug-in header of another version (expected 0x101)";
        return false;
    }
    winampVisModule* module = header->getModule(0);
    if (module == nullptr) {
        dlclose(handle);
        *error = path + ": the plug-in offers no module";
        return false;
    }
    handle_ = handle;
    header_ = header;
    module_ = module;
    instance_ = reinterpret_cast<HINSTANCE>(symbol);
    return true;
}

}  // namespace player
