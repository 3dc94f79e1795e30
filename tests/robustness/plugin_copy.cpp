// Copies of the built plug-in and its data pack, and the ways the tests break their files.
#include "tests/robustness/plugin_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace robustness {

namespace fs = std::filesystem;

fs::path BuiltPluginFolder() {
    const char* dir = std::getenv("TOLVEK_PLUGIN_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path();
}

namespace {

fs::path ScratchRoot() {
    std::string pattern = (fs::temp_directory_path() / "tolvek-robust-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder";
        return {};
    }
    // As the plug-in will see it: links resolved.
    return fs::canonical(pattern);
}

}  // namespace

PluginCopy::PluginCopy(const std::string& folderName) : root_(ScratchRoot()) {
    Fill(folderName);
}

PluginCopy::PluginCopy(const std::string& folderName, std::size_t folderLength)
    : root_(ScratchRoot()) {
    // root/ + name + / ; names longer than a folder may be are split into several folders.
    const std::size_t fixed = root_.string().size() + 1 + folderName.size() + 1;
    std::string name = folderName;
    for (std::size_t i = fixed; i < folderLength; ++i)
        name += (name.size() % 200 == 199) ? '/' : 'x';
    Fill(name);
    EXPECT_EQ(folder_.string().size() + 1, folderLength);
}

void PluginCopy::Fill(const std::string& folderName) {
    if (root_.empty())
        return;
    folder_ = root_ / fs::path(folderName);
    fs::create_directories(folder_);
    const fs::path built = BuiltPluginFolder();
    fs::copy_file(built / "vis_tolvek.so", PluginFile());
    fs::copy(built / "v_tolvek", DataFolder(), fs::copy_options::recursive);
    // Others may need to go through the folders (a test that drops its privileges).
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec |
                               fs::perms::group_read | fs::perms::others_read);
}

PluginCopy::~PluginCopy() {
    library_ = hostkit::PluginLibrary();
    std::error_code ignored;
    if (!root_.empty())
        fs::remove_all(root_, ignored);
}

hostkit::PluginLibrary& PluginCopy::Library() {
    if (!loaded_) {
        std::string error;
        loaded_ = library_.Load(PluginFile().string(), &error);
        EXPECT_TRUE(loaded_) << error;
    }
    return library_;
}

std::string PluginCopy::Read(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PluginCopy::Write(const fs::path& file, const std::string& bytes) const {
    std::error_code ignored;
    fs::remove_all(file, ignored);
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PluginCopy::Truncate(const fs::path& file, std::size_t bytes) const {
    fs::resize_file(file, bytes);
}

void PluginCopy::MakeFolder(const fs::path& file) const {
    fs::remove(file);
    fs::create_directory(file);
}

void PluginCopy::MakePipe(const fs::path& file) const {
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0644), 0) << "cannot make a named pipe at " << file;
}

}  // namespace robustness
