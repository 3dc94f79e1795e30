// Fuzzes the dropped-file list: names of any bytes dropped on a show window, handed to its
// owner as WM_DROPFILES, read back through DragQueryFileA by the host window, and walked as the
// player walks a drop (inside a scratch tree: names are taken below it).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"
#include "hostkit/playlist.h"
#include "platform/host_services.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Tree() {
    static const fs::path tree = [] {
        std::random_device random;
        fs::path root = fs::temp_directory_path() / ("tolvek-fuzz-drop-" + std::to_string(random()));
        fs::create_directories(root / "Album" / "Disc 2");
        for (const char* name : {"Album/01 a.wav", "Album/Disc 2/02 b.mp3", "list.m3u"})
            std::ofstream(root / name) << (std::string_view(name) == "list.m3u" ? "Album\n" : "");
        fs::create_directory_symlink(root / "Album", root / "Album" / "Disc 2" / "back");
        return root;
    }();
    return tree;
}

struct Recorder : hostkit::HostControls {
    void Act(hostkit::PlayerCommand) override {}
    void Drop(const std::vector<std::string>& paths) override { dropped.push_back(paths); }
    std::vector<std::vector<std::string>> dropped;
};

// The show's window, owned by the host's: drops reach the owner as they do from SDL.
struct Windows {
    hostkit::HostWindow host{"FuzzDropHost"};
    HWND show = nullptr;
    Windows() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "FuzzDropShow";
        RegisterClassA(&windowClass);
        show = CreateWindowExA(0, "FuzzDropShow", "show", 0, 0, 0, 64, 48, host.handle(), nullptr,
                               nullptr, nullptr);
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Windows windows;
    std::vector<std::string> names;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty() && names.size() < 64) {
        const std::size_t end = text.find('\n');
        names.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    Recorder recorder;
    windows.host.SetControls(&recorder);
    platform::DropFiles(windows.show, names);
    hostkit::PumpMessages();
    windows.host.SetControls(nullptr);
    if (names.empty() != recorder.dropped.empty() || recorder.dropped.size() > 1)
        fuzzing::Fail("a drop did not arrive once");
    if (!names.empty() && recorder.dropped.front() != names)
        fuzzing::Fail("the names read back differ from the names dropped");

    // Walked below the scratch tree only: no climbing out of it.
    std::vector<std::string> inTree;
    for (std::string name : names) {
        for (std::size_t at; (at = name.find("..")) != std::string::npos;)
            name.replace(at, 2, "_");
        while (!name.empty() && name.front() == '/')
            name.erase(0, 1);
        inTree.push_back((Tree() / name).string());
    }
    const std::vector<std::string> files =
        hostkit::ExpandSources(inTree, [](const std::string&) {});
    if (files.size() > hostkit::kMaxPlaylistEntries)
        fuzzing::Fail("the list outgrew its bound");
    return 0;
}
