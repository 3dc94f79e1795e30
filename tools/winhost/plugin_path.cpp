// The plug-in beside the program, as a user unpacks the release zip.
#include "tools/winhost/plugin_path.h"

#include <windows.h>

namespace winhost {

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
