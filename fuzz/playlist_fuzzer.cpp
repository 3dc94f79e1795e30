// Fuzzes the playlist reader: M3U, M3U8 and PLS text of any bytes, read from a scratch folder
// that holds sound files, a subfolder and a second playlist, so that nesting, paths relative to
// the playlist, file URLs and playlists naming themselves or each other are all reached. The
// parser itself takes the bytes as they came.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "hostkit/playlist.h"

namespace {

namespace fs = std::filesystem;

// The scratch tree, made once: a.wav, sub/b.flac, sub/deeper/c.ogg and the playlists.
const fs::path& Tree() {
    static const fs::path tree = [] {
        std::random_device random;
        fs::path root = fs::temp_directory_path() / ("tolvek-fuzz-list-" + std::to_string(random()));
        fs::create_directories(root / "sub" / "deeper");
        for (const char* name : {"a.wav", "sub/b.flac", "sub/deeper/c.ogg"})
            std::ofstream(root / name) << "";
        return root;
    }();
    return tree;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Keeps the walk inside the scratch tree (a run that walked / would be slow and prove nothing
// more): names that climb out (.., or %2E that a file URL decodes to a dot) lose a dot, and a
// value that starts at the root, as a line, after PLS's '=', after "file://" or
// "file://localhost", past blanks or a byte-order mark, starts at the tree instead.
std::string Confined(std::string_view text) {
    std::string out;
    bool valueStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && text[i + 1] == '2' &&
            (text[i + 2] == 'e' || text[i + 2] == 'E')) {
            out += "_";
            i += 2;
            valueStart = false;
            continue;
        }
        if (c == '.' && i + 1 < text.size() && text[i + 1] == '.') {
            out += "._";
            ++i;
            valueStart = false;
            continue;
        }
        if (valueStart && (c == '/' || c == '\\')) {
            out += Tree().string() + "/";
            valueStart = false;
            continue;
        }
        out.push_back(c);
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\r' || c == '=')
            valueStart = true;
        else if (!std::isspace(byte) && byte < 0x80)
            valueStart = EndsWith(out, "file://") || EndsWith(out, "file://localhost");
    }
    return out;
}

void Write(const fs::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first byte chooses the first playlist's kind; a NUL byte splits the rest into the two
    // playlists' texts (the second, "sub/other.pls", may be named from the first, and back).
    const char* const kNames[] = {"list.m3u", "list.m3u8", "list.pls", "sub/list.M3U"};
    const std::string first = kNames[size > 0 ? data[0] % 4 : 0];
    if (!text.empty())
        text.remove_prefix(1);
    const std::size_t split = text.find('\0');
    Write(Tree() / first, Confined(text.substr(0, split)));
    Write(Tree() / "sub" / "other.pls",
          Confined(split == std::string_view::npos ? std::string_view{} : text.substr(split + 1)));

    for (bool pls : {false, true}) {
        for (const std::string& entry : hostkit::ParsePlaylistText(text, pls)) {
            std::string refusal;
            const std::string file = hostkit::EntryFilePath(entry, &refusal);
            if (file.empty() == refusal.empty())
                fuzzing::Fail("an entry was neither a file nor refused with a reason");
            if (file.find('\0') != std::string::npos || file == "-")
                fuzzing::Fail("an entry names no file that can be opened");
        }
    }

    std::size_t lines = 0;
    const std::vector<std::string> files = hostkit::ExpandSources(
        {(Tree() / first).string()}, [&lines](const std::string& line) {
            if (line.empty())
                fuzzing::Fail("an empty report line");
            ++lines;
        });
    if (files.size() > hostkit::kMaxPlaylistEntries)
        fuzzing::Fail("the list outgrew its bound");
    for (const std::string& file : files) {
        if (file.find('\0') != std::string::npos || file == "-")
            fuzzing::Fail("the list holds a name no file has");
    }
    return 0;
}
