// LoadLibraryA and GetProcAddress of winampVisGetHeader.
#include "tools/winhost/plugin_dll.h"

namespace winhost {

PluginDll::~PluginDll() {
    if (instance_ != nullptr)
        FreeLibrary(instance_);
}

bool PluginDll::Load(const std::string& path, std::string* error) {
    HINSTANCE instance = LoadLibraryA(path.c_str());
    if (instance == nullptr) {
        *error = path + ": cannot load the DLL (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    auto getHeader = reinterpret_cast<winampVisGetHeaderType>(
        reinterpret_cast<void*>(GetProcAddress(instance, "winampVisGetHeader")));
    winampVisHeader* header = getHeader != nullptr ? getHeader() : nullptr;
    winampVisModule* module = nullptr;
    if (getHeader == nullptr) {
        *error = path + ": not a visualization plug-in (no export winampVisGetHeader)";
    } else if (header == nullptr || header->version != VIS_HDRVER || header->getModule == nullptr) {
        *error = path + ": plug-in header of another version (expected 0x101)";
    } else if ((module = header->getModule(0)) == nullptr) {
        *error = path + ": the plug-in offers no module";
    }
    if (module == nullptr) {
        FreeLibrary(instance);
        return false;
    }
    instance_ = instance;
    header_ = header;
    module_ = module;
    return true;
}

std::string DefaultPluginPath() {
    char name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
    std::string folder(name, length < sizeof name ? length : 0);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string inPluginFolder = folder + "plugin\\vis_tolvek.dll";
    if (GetFileAttributesA(inPluginFolder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return inPluginFolder;
    }
    return folder + "vis_tolvek.dll";
}

}  // namespace winhost
