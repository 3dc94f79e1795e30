// A copy of the built plug-in and its data pack in a fresh folder of its own, to break at will.
#pragma once

#include <filesystem>
#include <string>

#include "hostkit/desktop/plugin_library.h"

namespace robustness {

// The data files of the show, as named in the data folder.
inline constexpr const char* kDataFileNames[] = {
    "sLeaf.bmp",    "bird.dxf",    "Cock1.dxf",   "Flower1.dxf", "Horses1.dxf",
    "chick256.bmp", "flwr256.bmp", "star256.bmp", "hors256.bmp", "ebrd256.bmp",
    "sflwr256.bmp", "tig256.bmp",  "zeb256.bmp"};

class PluginCopy {
  public:
    // The plug-in goes into `folderName` (which may hold spaces, any UTF-8, or slashes for
    // deeper folders) inside a fresh temporary folder, with a copy of v_tolvek/ beside it.
    explicit PluginCopy(const std::string& folderName = "plugin");
    // A folder name padded so that the plug-in's folder, written out in full with its trailing
    // separator, is exactly `folderLength` characters long.
    PluginCopy(const std::string& folderName, std::size_t folderLength);
    ~PluginCopy();
    PluginCopy(const PluginCopy&) = delete;
    PluginCopy& operator=(const PluginCopy&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path DataFolder() const { return folder_ / "v_tolvek"; }
    std::filesystem::path DataFile(const std::string& name) const { return DataFolder() / name; }
    std::filesystem::path PluginFile() const { return folder_ / "vis_tolvek.so"; }

    // Loads the copy (once): its instance handle places the show's files in folder().
    hostkit::PluginLibrary& Library();
    HINSTANCE Instance() { return Library().instance(); }

    std::string Read(const std::filesystem::path& file) const;
    void Write(const std::filesystem::path& file, const std::string& bytes) const;
    // Keeps the first `bytes` bytes.
    void Truncate(const std::filesystem::path& file, std::size_t bytes) const;
    // Replaces the file by an empty folder of the same name.
    void MakeFolder(const std::filesystem::path& file) const;
    // Replaces the file by a named pipe nobody writes to.
    void MakePipe(const std::filesystem::path& file) const;

  private:
    void Fill(const std::string& folderName);

    std::filesystem::path root_;
    std::filesystem::path folder_;
    hostkit::PluginLibrary library_;
    bool loaded_ = false;
};

// The built plug-in's folder and data folder, from the test's environment.
std::filesystem::path BuiltPluginFolder();

}  // namespace robustness
