// The tolvek program itself, headless: help and version, usage errors, unreadable files skipped
// with one line each, and plug-ins it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "player/live/status_line.h"
#include "tests/player/run_player.h"
#include "tests/player/sound_files.h"

namespace {

using player_testing::Lines;
using player_testing::PlayerRun;
using player_testing::RunPlayer;
using player_testing::ScratchFolder;

long LinesWith(const std::string& text, const std::string& word) {
    auto lines = Lines(text);
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(word) != std::string::npos;
    });
}

TEST(PlayerProgram, HelpAndVersionGoToStandardOutput) {
    PlayerRun help = RunPlayer({"--help"}, {});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: tolvek", 0), 0u) << help.out;
    PlayerRun version = RunPlayer({"--version"}, {});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tolvek ", 0), 0u) << version.out;
}

TEST(PlayerProgram, UsageErrorsExitWithTwoAndAShortHint) {
    PlayerRun run = RunPlayer({"--loud"}, {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Lines(run.err),
              (std::vector<std::string>{"tolvek: unknown option --loud",
                                        "Try 'tolvek --help' for more information."}));
}

TEST(PlayerProgram, UnreadableFilesAreSkippedWithOneLineEach) {
    ScratchFolder folder;
    const std::string words = folder.Path("words.flac");
    std::ofstream(words) << "not a sound file at all";
    const std::string good = folder.Path("good.wav");
    ASSERT_EQ(player_testing::WriteSamples16(good, 8000, 1, 8000,
                                             [](long f, int) { return short(f * 64); }),
              "");
    PlayerRun run = RunPlayer({"--plugin", FAKE_VIS_PATH, words, folder.Path("missing.ogg"), good},
                              {{"FAKE_VIS_RENDERS", "3"}});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesWith(run.err, words + ": "), 1) << run.err;
    EXPECT_EQ(LinesWith(run.err, "missing.ogg: "), 1) << run.err;
    EXPECT_EQ(LinesWith(run.err, "[playing] " + good), 1) << run.err;
}

TEST(PlayerProgram, NothingPlayableEndsWithAnError) {
    PlayerRun run = RunPlayer({"--plugin", FAKE_VIS_PATH, "/nonexistent/a.wav"}, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(LinesWith(run.err, "/nonexistent/a.wav: "), 1) << run.err;
    EXPECT_EQ(LinesWith(run.err, "none of the files can be played"), 1) << run.err;
}

TEST(PlayerProgram, RefusedPlugInIsOneLineAndAFailure) {
    PlayerRun run = RunPlayer({"--plugin", NOT_A_VIS_PATH}, {});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find("no winampVisGetHeader"), std::string::npos);
}

TEST(PlayerProgram, BuiltInTuneRunsWithoutASoundDevice) {
    PlayerRun run = RunPlayer({"--plugin", FAKE_VIS_PATH, "--clock", "42"},
                              {{"FAKE_VIS_RENDERS", "4"}, {"SDL_AUDIODRIVER", "none"}});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesWith(run.err, "no sound device"), 1) << run.err;
    EXPECT_EQ(LinesWith(run.err, "[playing] built-in tune"), 1) << run.err;
}

TEST(StatusLine, ShowsSourcePositionLengthStateAndVolume) {
    player::PlayerStatus status{"song.flac", "paused", 83.9, 296.0, 80};
    EXPECT_EQ(player::FormatStatus(status), "[paused] song.flac  1:23 / 4:56  vol 80%");
    status = {"@DEFAULT_MONITOR@", "capturing", 5.0, -1.0, 100};
    EXPECT_EQ(player::FormatStatus(status), "[capturing] @DEFAULT_MONITOR@  0:05  vol 100%");
    EXPECT_EQ(player::FormatTime(3725.0), "1:02:05");
    EXPECT_EQ(player::FormatTime(-3.0), "0:00");
}

}  // namespace
