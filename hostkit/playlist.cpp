// Folders searched for sound files and playlists read, into the list a host plays.
#include "hostkit/playlist.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <utility>

namespace hostkit {
namespace fs = std::filesystem;
namespace {

// Playlists inside playlists inside folders...: beyond this depth nothing more is opened.
constexpr int kMaxDepth = 32;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size())
        return false;
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (Lower(name[name.size() - ending.size() + i]) != ending[i])
            return false;
    }
    return true;
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// file:///music/a%20b.mp3 -> /music/a b.mp3 (also file://localhost/...); empty with `refusal`
// for a file of another machine or a name that holds a NUL.
std::string FilePathOfUrl(std::string_view url, std::string* refusal) {
    url.remove_prefix(7);
    if (url.substr(0, 9) == "localhost")
        url.remove_prefix(9);
    if (url.empty() || url.front() != '/') {
        *refusal = "a file on another machine";
        return "";
    }
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        int high = 0;
        int low = 0;
        if (url[i] == '%' && i + 2 < url.size() && (high = HexValue(url[i + 1])) >= 0 &&
            (low = HexValue(url[i + 2])) >= 0) {
            path.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            path.push_back(url[i]);
        }
    }
    if (path.find('\0') != std::string::npos) {
        *refusal = "the name holds a NUL (%00)";
        return "";
    }
    return path;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool IsUrl(std::string_view entry) {
    const std::size_t scheme = entry.find("://");
    return scheme != std::string_view::npos && scheme > 0 &&
           std::all_of(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(scheme),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

std::string Reason(const std::error_code& error) {
    return error.message();
}

class Expander {
  public:
    Expander(const std::function<void(const std::string&)>& report,
             const std::atomic<bool>* cancel)
        : report_(report), cancel_(cancel) {}

    void Add(const std::string& name, int depth) {
        if (Stopped())
            return;
        std::error_code error;
        if (!name.empty() && name != "-" && fs::is_directory(name, error)) {
            AddFolder(name, depth, true);
        } else if (IsPlaylistName(name)) {
            AddPlaylist(name, depth);
        } else {
            Push(name);
        }
    }

    std::vector<std::string> Take() { return std::move(files_); }

  private:
    bool Stopped() const { return full_ || (cancel_ != nullptr && cancel_->load()); }

    void Push(const std::string& file) {
        if (files_.size() >= kMaxPlaylistEntries) {
            report_("the list holds " + std::to_string(kMaxPlaylistEntries) +
                    " files; the rest are left out");
            full_ = true;
            return;
        }
        files_.push_back(file);
    }

    // Returns how many sound files the folder and its subfolders gave.
    std::size_t AddFolder(const fs::path& folder, int depth, bool named) {
        std::error_code error;
        const fs::path real = fs::canonical(folder, error);
        // Each folder once: a link back up the tree would repeat it for ever, a link across the
        // tree (or a folder named twice) would repeat its files.
        if (error || depth > kMaxDepth || !walkedFolders_.insert(real.string()).second)
            return 0;
        if (walkedFolders_.size() > kMaxFoldersWalked) {
            report_("walked " + std::to_string(kMaxFoldersWalked) +
                    " folders; the rest are left out");
            full_ = true;
            return 0;
        }
        std::vector<fs::directory_entry> entries;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            if (it->path().filename().string().front() != '.')
                entries.push_back(*it);
        }
        if (error) {
            report_(folder.string() + ": cannot read the folder: " + Reason(error));
            return 0;
        }
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return NaturalLess(a.path().filename().string(), b.path().filename().string());
        });
        const std::size_t before = files_.size();
        for (const fs::directory_entry& entry : entries) {
            std::error_code kind;
            if (entry.is_directory(kind)) {
                AddFolder(entry.path(), depth + 1, false);
            } else if (HasSoundExtension(entry.path().filename().string())) {
                Push(entry.path().string());
            }
            if (Stopped())
                break;
        }
        const std::size_t found = files_.size() - before;
        if (named && found == 0 && !Stopped())
            report_(folder.string() + ": no sound files in this folder");
        return found;
    }

    void AddPlaylist(const std::string& name, int depth) {
        std::error_code error;
        const fs::path real = fs::canonical(name, error);
        if (error) {
            report_(name + ": cannot read the playlist: " + Reason(error));
            return;
        }
        if (depth > kMaxDepth || openPlaylists_.count(real.string()) != 0) {
            report_(name +
                    ": the playlist names itself (or a playlist that names it); "
                    "that entry is left out");
            return;
        }
        const auto size = fs::file_size(real, error);
        if (error) {
            report_(name + ": cannot read the playlist: " + Reason(error));
            return;
        }
        if (size > kMaxPlaylistBytes) {
            report_(name + ": the playlist is larger than " +
                    std::to_string(kMaxPlaylistBytes / (1024 * 1024)) + " MiB; it is not read");
            return;
        }
        std::ifstream in(real, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) {
            report_(name + ": cannot read the playlist");
            return;
        }
        openPlaylists_.insert(real.string());
        const fs::path folder = fs::path(name).parent_path();
        for (const std::string& entry : ParsePlaylistText(text, EndsWithNoCase(name, ".pls"))) {
            // Playlists that name each other several times multiply: bound the entries read in
            // all of them, not only the files they give.
            if (++entriesRead_ > kMaxPlaylistEntries) {
                report_("the playlists name more than " + std::to_string(kMaxPlaylistEntries) +
                        " entries in all; the rest are left out");
                full_ = true;
                break;
            }
            if (IsUrl(entry) && entry.compare(0, 7, "file://") != 0) {
                report_(name + ": " + entry + ": streams are not played; left out");
                continue;
            }
            std::string refusal;
            const std::string file = EntryFilePath(entry, &refusal);
            if (file.empty()) {
                report_(name + ": " + entry + ": " + refusal + "; left out");
                continue;
            }
            const fs::path path(file);
            Add(path.is_absolute() ? file : (folder / path).lexically_normal().string(),
                depth + 1);
            if (Stopped())
                break;
        }
        openPlaylists_.erase(real.string());
    }

    const std::function<void(const std::string&)>& report_;
    const std::atomic<bool>* cancel_;
    std::vector<std::string> files_;
    std::set<std::string> walkedFolders_;
    std::set<std::string> openPlaylists_;
    std::size_t entriesRead_ = 0;
    bool full_ = false;
};

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            std::size_t startA = i;
            std::size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0')
                ++startA;
            while (startB + 1 < endB && b[startB] == '0')
                ++startB;
            const std::size_t lengthA = endA - startA;
            const std::size_t lengthB = endB - startB;
            if (lengthA != lengthB)
                return lengthA < lengthB;
            const int order = a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
            if (order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        const char ca = Lower(a[i]);
        const char cb = Lower(b[j]);
        if (ca != cb)
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

bool HasSoundExtension(std::string_view name) {
    static const char* const kEndings[] = {".wav",  ".wave", ".flac", ".ogg",  ".oga",
                                           ".opus", ".mp3",  ".aif",  ".aiff", ".aifc",
                                           ".au",   ".snd",  ".caf",  ".w64",  ".rf64"};
    return std::any_of(std::begin(kEndings), std::end(kEndings),
                       [name](const char* ending) { return EndsWithNoCase(name, ending); });
}

bool IsPlaylistName(std::string_view name) {
    return EndsWithNoCase(name, ".m3u") || EndsWithNoCase(name, ".m3u8") ||
           EndsWithNoCase(name, ".pls");
}

std::vector<std::string> ParsePlaylistText(std::string_view text, bool pls) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::string> entries;
    std::vector<std::pair<long, std::string>> numbered;
    while (!text.empty() && entries.size() + numbered.size() < kMaxPlaylistEntries) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty())
            continue;
        if (!pls) {
            if (line.front() != '#')
                entries.emplace_back(line);
            continue;
        }
        // PLS: FileN=entry; the numbers give the order, whatever the lines' order.
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals < 5)
            continue;
        std::string key(line.substr(0, 4));
        std::transform(key.begin(), key.end(), key.begin(), Lower);
        const std::string_view number = line.substr(4, equals - 4);
        if (key != "file" || number.size() > 9 ||
            !std::all_of(number.begin(), number.end(), IsDigit))
            continue;
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!value.empty())
            numbered.emplace_back(std::stol(std::string(number)), std::string(value));
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, entry] : numbered)
        entries.push_back(std::move(entry));
    return entries;
}

std::string EntryFilePath(std::string_view entry, std::string* refusal) {
    if (entry.substr(0, 7) == "file://")
        return FilePathOfUrl(entry, refusal);
    if (IsUrl(entry)) {
        *refusal = "not a file";
        return "";
    }
    if (entry == "-") {
        *refusal = "not a file (it would read standard input)";
        return "";
    }
    if (entry.find('\0') != std::string_view::npos) {
        *refusal = "the name holds a NUL";
        return "";
    }
    std::string path(entry);
    if (path.find('/') == std::string::npos)
        std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::vector<std::string> ExpandSources(const std::vector<std::string>& names,
                                       const std::function<void(const std::string&)>& report,
                                       const std::atomic<bool>* cancel) {
    Expander expander(report, cancel);
    for (const std::string& name : names)
        expander.Add(name, 0);
    return expander.Take();
}

}  // namespace hostkit
