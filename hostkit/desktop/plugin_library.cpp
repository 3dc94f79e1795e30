// Loading a visualization plug-in the way the media player does, with dlopen/dlsym on Linux and
// LoadLibraryA/GetProcAddress on Windows, refusing libraries that do not speak the interface.
#include "hostkit/desktop/plugin_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <utility>

namespace hostkit {
namespace {

#ifdef _WIN32
void* OpenLibrary(const std::string& path, std::string* error) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr)
        *error = path + ": cannot load the DLL (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(library);
}
void* LibrarySymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void CloseLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
// The module's instance is the DLL's own handle, as the media player passes it.
HINSTANCE InstanceOf(void* handle, void*) {
    return static_cast<HINSTANCE>(handle);
}
#else
void* OpenLibrary(const std::string& path, std::string* error) {
    // A path without a slash would be searched for in the system's library folders.
    std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        *error = path + ": cannot load the plug-in: " + (why != nullptr ? why : "unknown error");
    }
    return handle;
}
void* LibrarySymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
void CloseLibrary(void* handle) {
    dlclose(handle);
}
// An address inside the library stands for the instance handle.
HINSTANCE InstanceOf(void*, void* symbol) {
    return reinterpret_cast<HINSTANCE>(symbol);
}
#endif

}  // namespace

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
    return handle_ != nullptr ? LibrarySymbol(handle_, name) : nullptr;
}

void PluginLibrary::Close() {
    if (handle_ != nullptr)
        CloseLibrary(handle_);
    handle_ = nullptr;
    header_ = nullptr;
    module_ = nullptr;
    instance_ = nullptr;
}

bool PluginLibrary::Load(const std::string& path, std::string* error) {
    Close();
    void* handle = OpenLibrary(path, error);
    if (handle == nullptr)
        return false;
    void* symbol = LibrarySymbol(handle, "winampVisGetHeader");
    auto getHeader = reinterpret_cast<winampVisGetHeaderType>(symbol);
    winampVisHeader* header = getHeader != nullptr ? getHeader() : nullptr;
    winampVisModule* module = nullptr;
    if (getHeader == nullptr) {
        *error = path + ": not a visualization plug-in (no winampVisGetHeader)";
    } else if (header == nullptr || header->version != VIS_HDRVER || header->getModule == nullptr) {
        *error = path + ": plug-in header of another version (expected 0x101)";
    } else if ((module = header->getModule(0)) == nullptr) {
        *error = path + ": the plug-in offers no module";
    }
    if (module == nullptr) {
        CloseLibrary(handle);
        return false;
    }
    handle_ = handle;
    header_ = header;
    module_ = module;
    instance_ = InstanceOf(handle, symbol);
    return true;
}

}  // namespace hostkit
