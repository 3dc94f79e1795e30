// Finding the plug-in relative to the running program.
#include "player/install_paths.h"

#include <filesystem>

namespace player {

std::string DefaultPluginPath() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path dir = error ? std::filesystem::current_path() : exe.parent_path();
    std::filesystem::path beside = dir / "plugin" / "vis_tolvek.so";
    std::filesystem::path installed = dir / ".." / "lib" / "tolvek" / "vis_tolvek.so";
    if (!std::filesystem::exists(beside) && std::filesystem::exists(installed)) {
        return installed.lexically_normal().string();
    }
    return beside.string();
}

}  // namespace player
