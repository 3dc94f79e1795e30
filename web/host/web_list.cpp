// The page's list of files, with the desktop player's rules: what the visitor drops or picks is
// laid out in the module's file system as the names it has (folders as folders, sound files as
// empty stand-ins, playlists with their bytes) and expanded by the host kit's playlist reader,
// which orders folders and reads M3U, M3U8 and PLS; the host kit's play order walks it. The page
// only decodes the entry it is told to open.
#include <emscripten.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "hostkit/play_order.h"
#include "hostkit/playlist.h"

// A line for the visitor about what was dropped.
EM_JS(void, TolvekPageReport, (const char* text),
      { Module['tolvekHost']['report'](UTF8ToString(text)); });

namespace web {
namespace {

namespace fs = std::filesystem;

const fs::path kDropRoot = "/dropped";

class PageList {
  public:
    // A new drop: its items land in a folder of their own, so that a playlist's relative
    // entries find the files dropped beside it.
    const std::string& BeginDrop() {
        ++drops_;
        drop_ = kDropRoot / std::to_string(drops_);
        dropName_ = drop_.string() + "/";
        std::error_code error;
        fs::create_directories(drop_, error);
        items_.clear();
        return dropName_;
    }

    // A file of the drop at `relative` (folders along it are made); `bytes` only for playlists.
    bool Put(const std::string& relative, const char* bytes, int size, bool folder) {
        const fs::path path = Inside(relative);
        if (path.empty())
            return false;
        std::error_code error;
        if (folder) {
            fs::create_directories(path, error);
            return !error;
        }
        fs::create_directories(path.parent_path(), error);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (bytes != nullptr && size > 0)
            out.write(bytes, size);
        return static_cast<bool>(out);
    }

    // One of the items the visitor dropped (a file or folder at the top of the drop), in order.
    void Item(const std::string& relative) {
        const fs::path path = Inside(relative);
        if (!path.empty())
            items_.push_back(path.string());
    }

    // Expands the drop and joins the list. Playlists among the items play in their order, the
    // other items being the files they name; otherwise the items play, folders in natural
    // order. Returns how many entries joined; `start` gets the position a walk for them starts
    // from (-1 when something already plays and they wait their turn).
    int Expand(bool idle, int* start) {
        std::vector<std::string> named;
        for (const std::string& item : items_) {
            if (hostkit::IsPlaylistName(item))
                named.push_back(item);
        }
        if (named.empty())
            named = items_;
        said_.clear();
        const auto report = [this](const std::string& line) { Say(line); };
        std::vector<std::string> joining;
        for (const std::string& entry : hostkit::ExpandSources(named, report)) {
            const std::string file = Resolve(entry);
            if (file.empty()) {
                Say(Shown(entry) + ": named by the playlist but not dropped with it; left out");
            } else if (!hostkit::HasSoundExtension(file)) {
                Say(Shown(entry) + ": not a sound file, a folder or a playlist; left out");
            } else {
                joining.push_back(file);
            }
        }
        names_.insert(names_.end(), joining.begin(), joining.end());
        *start = order_.Append(static_cast<int>(joining.size()), idle);
        return static_cast<int>(joining.size());
    }

    void Clear() {
        names_.clear();
        order_.Clear();
        std::error_code error;
        fs::remove_all(kDropRoot, error);
    }

    hostkit::PlayOrder& order() { return order_; }
    const std::vector<std::string>& names() const { return names_; }

  private:
    // `relative` below the drop's folder, or empty when it would leave it.
    fs::path Inside(const std::string& relative) const {
        const fs::path path = (drop_ / relative).lexically_normal();
        const auto [end, ignored] =
            std::mismatch(drop_.begin(), drop_.end(), path.begin(), path.end());
        if (drop_.empty() || end != drop_.end() || path == drop_)
            return {};
        return path;
    }

    // The name as the visitor knows it: without the drop's folder.
    std::string Shown(const std::string& path) const {
        const std::string root = drop_.string() + "/";
        return path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
    }

    // Each problem once, however often the playlists name it.
    void Say(const std::string& line) {
        std::string shown = line;
        const std::string root = drop_.string() + "/";
        for (std::size_t at; (at = shown.find(root)) != std::string::npos;)
            shown.erase(at, root.size());
        if (said_.insert(shown).second)
            TolvekPageReport(shown.c_str());
    }

    // An entry as a dropped file: itself when it was dropped, else the dropped file whose path
    // ends in most of the same folders and name (a playlist written elsewhere names its files
    // by paths of that machine: /home/someone/Music/a.flac, C:\Music\a.flac).
    std::string Resolve(const std::string& entry) {
        std::error_code error;
        if (fs::is_regular_file(entry, error))
            return entry;
        const fs::path wanted = fs::path(entry).lexically_normal();
        std::string best;
        int bestDepth = 0;
        for (auto it = fs::recursive_directory_iterator(drop_, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (!it->is_regular_file(error))
                continue;
            const fs::path& candidate = it->path();
            int depth = 0;
            auto a = wanted.end();
            auto b = candidate.end();
            while (a != wanted.begin() && b != candidate.begin()) {
                --a;
                --b;
                if (*a != *b)
                    break;
                ++depth;
            }
            if (depth > bestDepth || (depth == bestDepth && depth > 0 &&
                                      hostkit::NaturalLess(candidate.string(), best))) {
                best = candidate.string();
                bestDepth = depth;
            }
        }
        return best;
    }

    std::vector<std::string> names_;  // the list's files, by their place in the module's files
    hostkit::PlayOrder order_;
    int drops_ = 0;
    fs::path drop_;
    std::string dropName_;
    std::vector<std::string> items_;
    std::set<std::string> said_;
};

PageList& List() {
    static PageList list;
    return list;
}

}  // namespace
}  // namespace web

extern "C" {

// The folder of a new drop, ending in '/': the page's names of its files start so.
EMSCRIPTEN_KEEPALIVE const char* tolvek_drop_begin() {
    return web::List().BeginDrop().c_str();
}
EMSCRIPTEN_KEEPALIVE int tolvek_is_playlist_name(const char* name) {
    return hostkit::IsPlaylistName(name) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tolvek_drop_put(const char* relative, const char* bytes, int size,
                                         int folder) {
    return web::List().Put(relative, bytes, size, folder != 0) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void tolvek_drop_item(const char* relative) {
    web::List().Item(relative);
}
// How many entries joined; *start the position to open first, -1 for none.
EMSCRIPTEN_KEEPALIVE int tolvek_drop_expand(int idle, int* start) {
    return web::List().Expand(idle != 0, start);
}
// Playlists larger than this are not read: the page hands over no more of one than this + 1.
EMSCRIPTEN_KEEPALIVE int tolvek_playlist_max_bytes() {
    return static_cast<int>(hostkit::kMaxPlaylistBytes);
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_max_entries() {
    return static_cast<int>(hostkit::kMaxPlaylistEntries);
}
EMSCRIPTEN_KEEPALIVE void tolvek_list_clear() {
    web::List().Clear();
}

EMSCRIPTEN_KEEPALIVE int tolvek_list_entries() {
    return web::List().order().entries();
}
// The file at `position` of the playing order, as the page laid it out.
EMSCRIPTEN_KEEPALIVE const char* tolvek_list_file(int position) {
    auto& list = web::List();
    if (position < 0 || position >= list.order().entries())
        return "";
    return list.names()[static_cast<std::size_t>(list.order().EntryAt(position))].c_str();
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_position() {
    return web::List().order().position();
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_first() {
    return web::List().order().First();
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_next() {
    return web::List().order().Next();
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_previous() {
    return web::List().order().Previous();
}
// walk: 0 forward, 1 backward, 2 onward (into another round when repeating).
EMSCRIPTEN_KEEPALIVE int tolvek_list_failed(int position, int walk) {
    return web::List().order().Failed(position, static_cast<hostkit::PlayOrder::Walk>(walk));
}
EMSCRIPTEN_KEEPALIVE void tolvek_list_opened(int position) {
    web::List().order().Opened(position);
}
EMSCRIPTEN_KEEPALIVE void tolvek_list_reshuffle() {
    web::List().order().Reshuffle();
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_shuffle() {
    return web::List().order().shuffle() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tolvek_list_repeat() {
    return web::List().order().repeat() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void tolvek_list_set_shuffle(int on) {
    web::List().order().SetShuffle(on != 0);
}
EMSCRIPTEN_KEEPALIVE void tolvek_list_set_repeat(int on) {
    web::List().order().SetRepeat(on != 0);
}
// For the page's tests: a fixed shuffle.
EMSCRIPTEN_KEEPALIVE void tolvek_list_seed(int seed) {
    web::List().order().Seed(static_cast<unsigned>(seed));
}

}  // extern "C"
