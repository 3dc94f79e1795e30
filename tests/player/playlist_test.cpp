// Folders and playlists made into the list the player plays: the order a person expects,
// paths relative to the playlist, entries that are missing or name the playlist itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hostkit/playlist.h"
#include "tests/player/sound_files.h"

namespace {

using hostkit::ExpandSources;
using player_testing::ScratchFolder;

void Touch(const std::string& path, const std::string& text = "") {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class PlaylistTest : public testing::Test {
  protected:
    std::vector<std::string> Expand(const std::vector<std::string>& names) {
        reports.clear();
        return ExpandSources(names, [this](const std::string& line) { reports.push_back(line); });
    }
    // The paths below the scratch folder, without it.
    std::vector<std::string> Relative(const std::vector<std::string>& paths) {
        std::vector<std::string> out;
        for (const std::string& path : paths)
            out.push_back(std::filesystem::path(path).lexically_relative(root.Path("")).string());
        return out;
    }

    ScratchFolder root;
    std::vector<std::string> reports;
};

TEST(NaturalOrder, NumbersByValueLettersWithoutCase) {
    EXPECT_TRUE(hostkit::NaturalLess("track 2.flac", "track 10.flac"));
    EXPECT_FALSE(hostkit::NaturalLess("track 10.flac", "track 2.flac"));
    EXPECT_TRUE(hostkit::NaturalLess("Track 02", "track 3"));
    EXPECT_TRUE(hostkit::NaturalLess("abc", "ABD"));
    EXPECT_TRUE(hostkit::NaturalLess("disc 1/", "disc 1/x"));
    EXPECT_TRUE(hostkit::NaturalLess("99 bottles", "100 bottles"));
    // Equal but for case or zeros: still a strict order, so sorting is stable between runs.
    EXPECT_NE(hostkit::NaturalLess("A1", "a1"), hostkit::NaturalLess("a1", "A1"));
    EXPECT_FALSE(hostkit::NaturalLess("same", "same"));
}

TEST_F(PlaylistTest, FolderGivesItsSoundFilesInNaturalOrderSubfoldersToo) {
    for (const char* name : {"Album/track 10.flac", "Album/track 2.MP3", "Album/track 1.wav",
                             "Album/cover.jpg", "Album/.hidden.wav", "Album/notes.m3u",
                             "Album/Disc 10/a.ogg", "Album/Disc 9/b.opus", "Album/Disc 9/a.oga"})
        Touch(root.Path(name));
    std::filesystem::create_directories(root.Path("Album/Empty"));
    const std::vector<std::string> expected = {"Album/Disc 9/a.oga",  "Album/Disc 9/b.opus",
                                               "Album/Disc 10/a.ogg", "Album/track 1.wav",
                                               "Album/track 2.MP3",   "Album/track 10.flac"};
    EXPECT_EQ(Relative(Expand({root.Path("Album")})), expected);
    EXPECT_TRUE(reports.empty());

    EXPECT_TRUE(Expand({root.Path("Album/Empty")}).empty());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Album/Empty: no sound files in this folder"), std::string::npos);
}

TEST_F(PlaylistTest, M3uEntriesAreRelativeToThePlaylistAndKeptInOrder) {
    Touch(root.Path("music/one.flac"));
    Touch(root.Path("music/sub/two words.wav"));
    Touch(root.Path("music/more/three.ogg"));
    Touch(root.Path("music/more/four.mp3"));
    const std::string absolute = root.Path("music/one.flac");
    Touch(root.Path("lists/mix.m3u8"),
          "\xEF\xBB\xBF#EXTM3U\r\n"
          "#EXTINF:123,Someone - One\r\n"
          "../music/sub/two words.wav\r\n"
          "\r\n" +
              absolute +
              "\n"
              "file://" +
              root.Path("music/sub/two%20words.wav") +
              "\n"
              "../music/gone.flac\n"
              "http://radio.example/stream\n"
              "../music/more\n"
              "..\\music\\one.flac\n");
    const std::vector<std::string> expected = {"music/sub/two words.wav", "music/one.flac",
                                               "music/sub/two words.wav", "music/gone.flac",
                                               "music/more/four.mp3",     "music/more/three.ogg",
                                               "music/one.flac"};
    EXPECT_EQ(Relative(Expand({root.Path("lists/mix.m3u8")})), expected);
    // The missing file stays in the list, to be reported when its turn comes; the stream is
    // left out here, with a line.
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("http://radio.example/stream: streams are not played"),
              std::string::npos);
}

TEST_F(PlaylistTest, PlsEntriesFollowTheirNumbers) {
    Touch(root.Path("a.wav"));
    Touch(root.Path("b.wav"));
    Touch(root.Path("c.wav"));
    Touch(root.Path("radio.PLS"),
          "[playlist]\nFile3=c.wav\nTitle3=Third\nfile1=a.wav\nFile2=" + root.Path("b.wav") +
              "\nFileX=nothing.wav\nNumberOfEntries=3\nVersion=2\n");
    EXPECT_EQ(Relative(Expand({root.Path("radio.PLS")})),
              (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
}

TEST_F(PlaylistTest, APlaylistThatNamesItselfIsReadOnceAndBrokenOnesAreSaid) {
    Touch(root.Path("song.wav"));
    Touch(root.Path("loop.m3u"), "song.wav\nloop.m3u\nother.m3u\n");
    Touch(root.Path("other.m3u"), "loop.m3u\nsong.wav\n");
    EXPECT_EQ(Relative(Expand({root.Path("loop.m3u")})),
              (std::vector<std::string>{"song.wav", "song.wav"}));
    EXPECT_EQ(reports.size(), 2u);
    for (const std::string& line : reports)
        EXPECT_NE(line.find("names itself"), std::string::npos) << line;

    EXPECT_TRUE(Expand({root.Path("absent.m3u")}).empty());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("absent.m3u: cannot read the playlist"), std::string::npos);

    // A file that is not a playlist or folder is passed on as it is, for the player to judge.
    EXPECT_EQ(Expand({"plain.txt"}), std::vector<std::string>{"plain.txt"});
}

TEST_F(PlaylistTest, EntriesThatNameNoFileHereAreRefusedByName) {
    Touch(root.Path("x"));
    Touch(root.Path("host/x.wav"));
    Touch(root.Path("a.wav"));
    Touch(root.Path("list.m3u"),
          "file://host/x.wav\nfile:///" + root.Path("a.wav%00.txt").substr(1) + "\n-\na.wav\n");
    // Only the real file: not a relative "host/x.wav", not a name cut at the NUL, not stdin.
    EXPECT_EQ(Relative(Expand({root.Path("list.m3u")})), std::vector<std::string>{"a.wav"});
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_NE(reports[0].find("file://host/x.wav: a file on another machine"), std::string::npos)
        << reports[0];
    EXPECT_NE(reports[1].find("a.wav%00.txt: the name holds a NUL"), std::string::npos)
        << reports[1];
    EXPECT_NE(reports[2].find(": -: not a file"), std::string::npos) << reports[2];
}

TEST_F(PlaylistTest, AFolderReachedTwiceIsWalkedOnceAndAHugeTreeIsCut) {
    Touch(root.Path("tree/a/song.wav"));
    std::filesystem::create_directory_symlink(root.Path("tree/a"), root.Path("tree/b"));
    EXPECT_EQ(Relative(Expand({root.Path("tree"), root.Path("tree/a")})),
              std::vector<std::string>{"tree/a/song.wav"});
    EXPECT_TRUE(reports.empty()) << reports.front();

    ScratchFolder memory(true);
    for (std::size_t i = 0; i <= hostkit::kMaxFoldersWalked; ++i)
        std::filesystem::create_directories(memory.Path("huge/" + std::to_string(i)));
    Touch(memory.Path("huge/0/first.wav"));
    EXPECT_EQ(Expand({memory.Path("huge")}),
              std::vector<std::string>{memory.Path("huge/0/first.wav")});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("walked 10000 folders; the rest are left out"), std::string::npos);
}

// Each playlist names the next twice, the last a stream: 2^23 readings and refusals unless the
// entries named by all the playlists together are bounded.
TEST_F(PlaylistTest, PlaylistsThatMultiplyEachOtherAreCut) {
    constexpr int kLevels = 24;
    for (int i = 0; i < kLevels; ++i) {
        const std::string next = i + 1 < kLevels ? std::to_string(i + 1) + ".m3u\n" : "http://x/\n";
        Touch(root.Path(std::to_string(i) + ".m3u"), i + 1 < kLevels ? next + next : next);
    }
    Touch(root.Path("song.wav"));
    Touch(root.Path("top.m3u"), "0.m3u\nsong.wav\n");
    EXPECT_TRUE(Expand({root.Path("top.m3u")}).empty());
    ASSERT_FALSE(reports.empty());
    EXPECT_LE(reports.size(), hostkit::kMaxPlaylistEntries + 1);
    EXPECT_NE(
        reports.back().find("the playlists name more than 100000 entries in all; the rest are "
                            "left out"),
        std::string::npos)
        << reports.back();
}

TEST_F(PlaylistTest, AHugePlaylistIsRefusedUnread) {
    {
        std::ofstream out(root.Path("huge.m3u"), std::ios::binary);
        out.seekp(static_cast<std::streamoff>(hostkit::kMaxPlaylistBytes));
        out << "x.wav\n";
    }
    EXPECT_TRUE(Expand({root.Path("huge.m3u")}).empty());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("larger than 16 MiB"), std::string::npos);
}

}  // namespace
