// What the player is asked to play, made into a list of files: folders give their sound files
// in natural name order, playlists (M3U, M3U8, PLS) their entries.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace player {

// Playlists beyond this size are refused unread; lists stop growing at kMaxPlaylistEntries.
inline constexpr std::size_t kMaxPlaylistBytes = 16u * 1024 * 1024;
inline constexpr std::size_t kMaxPlaylistEntries = 100000;

// Names as a person sorts them: runs of digits by their value ("track 2" before "track 10"),
// letters without regard to case; names equal that way fall back to byte order.
bool NaturalLess(std::string_view a, std::string_view b);

// Whether a file name ends as the sound files a folder is searched for do.
bool HasSoundExtension(std::string_view name);
// .m3u, .m3u8 or .pls, in any case.
bool IsPlaylistName(std::string_view name);

// The entries of a playlist's text, as written (URLs of files decoded, other URLs and comments
// left out); `pls` selects the PLS format, else M3U.
std::vector<std::string> ParsePlaylistText(std::string_view text, bool pls);

// Every name made into the files to play, in order: a folder's sound files (its subfolders'
// too, each in natural order), a playlist's entries relative to the playlist's folder (nested
// folders and playlists expanded in turn; one naming itself, or a playlist inside it, once), and
// any other name as it is, for the player to open or report. Problems go to `report`, one line
// each: a folder or playlist that cannot be read, a folder without sound files, an entry left out.
std::vector<std::string> ExpandSources(const std::vector<std::string>& names,
                                       const std::function<void(const std::string&)>& report);

}  // namespace player
