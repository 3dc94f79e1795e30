// What a host is asked to play, made into a list of files: folders give their sound files in
// natural name order, playlists (M3U, M3U8, PLS) their entries. The desktop player and the page
// (over the dropped files laid out in its own file system) order their lists with it.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hostkit {

// Playlists beyond this size are refused unread; lists stop growing at kMaxPlaylistEntries, and
// nested playlists stop being read after that many entries in all.
inline constexpr std::size_t kMaxPlaylistBytes = 16u * 1024 * 1024;
inline constexpr std::size_t kMaxPlaylistEntries = 100000;
// A walk stops after this many folders (a home folder or / dropped by mistake), and says so.
inline constexpr std::size_t kMaxFoldersWalked = 10000;

// Names as a person sorts them: runs of digits by their value ("track 2" before "track 10"),
// letters without regard to case; names equal that way fall back to byte order.
bool NaturalLess(std::string_view a, std::string_view b);

// Whether a file name ends as the sound files a folder is searched for do.
bool HasSoundExtension(std::string_view name);
// .m3u, .m3u8 or .pls, in any case.
bool IsPlaylistName(std::string_view name);

// The entries of a playlist's text as written, in playing order (comments and blank lines left
// out); `pls` selects the PLS format, else M3U.
std::vector<std::string> ParsePlaylistText(std::string_view text, bool pls);

// The file an entry names: a file URL decoded, Windows separators made ours. Empty, with
// `refusal` saying why, for what no file is: a URL of another scheme or another machine, a name
// holding a NUL (%00), "-" (which sound libraries take for standard input).
std::string EntryFilePath(std::string_view entry, std::string* refusal);

// Every name made into the files to play, in order: a folder's sound files (its subfolders'
// too, each in natural order), a playlist's entries relative to the playlist's folder (nested
// folders and playlists expanded in turn; one naming itself, or a playlist inside it, once), and
// any other name as it is, for the player to open or report. Problems go to `report`, one line
// each: a folder or playlist that cannot be read, a folder without sound files, an entry left out,
// a limit reached. A folder reached twice (through a link, or named twice) is walked once. With
// `cancel` set the walk stops early and returns what it found.
std::vector<std::string> ExpandSources(const std::vector<std::string>& names,
                                       const std::function<void(const std::string&)>& report,
                                       const std::atomic<bool>* cancel = nullptr);

}  // namespace hostkit
