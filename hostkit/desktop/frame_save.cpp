// The frame-save key's file: where it goes, what it is called, and writing it.
#include "hostkit/desktop/frame_save.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "hostkit/desktop/picture_file.h"
#include "hostkit/indexed_png.h"

namespace hostkit {
namespace fs = std::filesystem;
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value of XDG_PICTURES_DIR="..." in user-dirs.dirs, with $HOME expanded; empty if absent.
std::string PicturesFromUserDirs(const std::string& configFolder, const std::string& home) {
    std::ifstream in(configFolder + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const std::size_t end = line.rfind('"');
        if (end <= key.size())
            return "";
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        // Only absolute folders count; a relative one means "not set" to the XDG tools too.
        return !value.empty() && value[0] == '/' ? value : "";
    }
    return "";
}

}  // namespace

std::string PicturesFolder() {
    const std::string home = Environment("HOME");
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/')
        config = home + "/.config";
    std::string folder = PicturesFromUserDirs(config, home);
    if (!folder.empty())
        return folder;
    return home.empty() ? "." : home + "/Pictures";
}

std::string SaveFrame(const RenderedFrame& frame, const std::string& folder, std::time_t when,
                      std::string* error) {
    std::error_code made;
    fs::create_directories(folder, made);
    if (made) {
        *error = folder + ": cannot make the folder for the picture: " + made.message();
        return "";
    }
    const std::string path = folder + "/" + FrameFileName(when);
    const std::vector<std::uint8_t> png = EncodeIndexedPng(frame);
    if (png.empty()) {
        *error = path + ": cannot save the picture: the frame is empty";
        return "";
    }
    std::string why;
    std::string written = WriteFileSafely(path, png, ExistingFile::KeepAndNumber, &why);
    if (written.empty())
        *error = why;
    return written;
}

}  // namespace hostkit
