// `tolvek render` run as a program with the built plug-in: reproducible files, frame numbering and
// the range, the figure act's resting traces on silence, a click track's timeline in the pictures,
// Ctrl-C keeping what was written, and the exit statuses with their one-line messages.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "player/render/png_sequence.h"
#include "tests/player/run_player.h"
#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

namespace fs = std::filesystem;
using player_testing::Lines;
using player_testing::PlayerRun;
using player_testing::RunPlayer;
using player_testing::ScratchFolder;
using render_testing::FileBytes;
using render_testing::PngFile;
using render_testing::ReadPng;
using render_testing::RowIsOneValue;

PlayerRun Render(std::vector<std::string> args,
                 const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    args.insert(args.begin(), "render");
    return RunPlayer(args, environment, 300);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Frame(const std::string& folder, int k) {
    return folder + "/" + player::PngFrameName(k);
}

TEST(RenderProgram, TheSameSoundClockFpsAndRangeGiveByteIdenticalPngs) {
    ScratchFolder scratch;
    const std::vector<std::string> common = {"--clock", "1234567890", "--frames", "398-402"};
    for (const char* name : {"a", "b"}) {
        auto args = common;
        args.insert(args.end(), {"--png-dir", scratch.Path(name)});
        PlayerRun run = Render(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    ASSERT_EQ(FilesIn(scratch.Path("a")).size(), 5u);
    for (int k = 398; k <= 402; ++k) {
        const std::string a = FileBytes(Frame(scratch.Path("a"), k));
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a, FileBytes(Frame(scratch.Path("b"), k))) << "frame " << k;
    }
    // Another clock seeds the show differently.
    PlayerRun other =
        Render({"--clock", "77", "--frames", "402-402", "--png-dir", scratch.Path("c")});
    ASSERT_EQ(other.exitCode, 0) << other.err;
    EXPECT_NE(FileBytes(Frame(scratch.Path("c"), 402)), FileBytes(Frame(scratch.Path("a"), 402)));
}

TEST(RenderProgram, FramesAreNumberedFromOneAndOnlyTheRangeIsWritten) {
    ScratchFolder scratch;
    PlayerRun all = Render({"--clock", "5", "--frames", "1-7", "--png-dir", scratch.Path("all")});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    PlayerRun part = Render({"--clock", "5", "--frames", "5-7", "--png-dir", scratch.Path("part")});
    ASSERT_EQ(part.exitCode, 0) << part.err;
    EXPECT_EQ(FilesIn(scratch.Path("all")).front(), "frame-000001.png");
    EXPECT_EQ(FilesIn(scratch.Path("all")).size(), 7u);
    EXPECT_EQ(
        FilesIn(scratch.Path("part")),
        (std::vector<std::string>{"frame-000005.png", "frame-000006.png", "frame-000007.png"}));
    // Frames before the range are rendered, so the kept ones are the same frames.
    for (int k = 5; k <= 7; ++k) {
        EXPECT_EQ(FileBytes(Frame(scratch.Path("part"), k)),
                  FileBytes(Frame(scratch.Path("all"), k)))
            << "frame " << k;
    }
    // --seconds 0.2 at 30 fps covers frames 1 to 6.
    PlayerRun seconds =
        Render({"--clock", "5", "--seconds", "0.2", "--png-dir", scratch.Path("seconds")});
    ASSERT_EQ(seconds.exitCode, 0) << seconds.err;
    EXPECT_EQ(FilesIn(scratch.Path("seconds")).size(), 6u);
    EXPECT_NE(seconds.err.find("frames 1-6 in "), std::string::npos) << seconds.err;
}

TEST(RenderProgram, SilenceShowsTheFigureActsTracesRestingOnRows228And428) {
    ScratchFolder scratch;
    // The figure act follows four scenes of 720 frames.
    PlayerRun run = Render(
        {"--silence", "--clock", "1", "--frames", "2881-2883", "--png-dir", scratch.Path("f")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int k = 2881; k <= 2883; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        const PngFile png = ReadPng(Frame(scratch.Path("f"), k));
        ASSERT_EQ(png.error, "");
        // Two pixels thick; the first band's last segment ends at x = 638.
        for (int y : {228, 229, 428, 429})
            EXPECT_TRUE(RowIsOneValue(png, y, 637)) << "row " << y;
        const unsigned char trace = png.At(0, 228);
        EXPECT_EQ(png.At(0, 429), trace);
        EXPECT_NE(trace, 0) << "the trace is not the act's black background";
        EXPECT_FALSE(RowIsOneValue(png, 230, 637) && png.At(0, 230) == trace);
        EXPECT_FALSE(RowIsOneValue(png, 227, 637) && png.At(0, 227) == trace);
    }
}

TEST(RenderProgram, AClickAtTwoSecondsAppearsInFrame61AndNotBefore) {
    ScratchFolder scratch;
    const std::string clicks = scratch.Path("click.wav");
    // Silence, then 50 ms of a loud square wave from 2.000 s.
    ASSERT_EQ(player_testing::WriteSamples16(clicks, 44100, 2, 3 * 44100,
                                             [](long f, int) -> short {
                                                 if (f < 88200 || f >= 88200 + 2205)
                                                     return 0;
                                                 return ((f - 88200) / 22) % 2 ? -30000 : 30000;
                                             }),
              "");
    PlayerRun run =
        Render({clicks, "--clock", "3", "--frames", "1-61", "--png-dir", scratch.Path("f")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The image act's scope rests on rows 198 and 338 while there is no sound.
    for (int k = 1; k <= 60; ++k) {
        const PngFile png = ReadPng(Frame(scratch.Path("f"), k));
        ASSERT_EQ(png.error, "");
        EXPECT_TRUE(RowIsOneValue(png, 198, 637)) << "frame " << k << " moved before the click";
        EXPECT_TRUE(RowIsOneValue(png, 338, 637)) << "frame " << k << " moved before the click";
    }
    const PngFile click = ReadPng(Frame(scratch.Path("f"), 61));
    ASSERT_EQ(click.error, "");
    EXPECT_FALSE(RowIsOneValue(click, 198, 637)) << "frame 61 does not show the click";
}

TEST(RenderProgram, CtrlCStopsAfterTheCurrentFrameAndKeepsEveryFrameWritten) {
    ScratchFolder scratch;
    const std::string folder = scratch.Path("f");
    const std::string errPath = scratch.Path("err");
    pid_t pid = fork();
    if (pid == 0) {
        setenv("TOLVEK_DISPLAY", "headless", 1);
        if (freopen(errPath.c_str(), "w", stderr) == nullptr)
            _exit(126);
        execl(TOLVEK_PLAYER_PATH, TOLVEK_PLAYER_PATH, "render", "--silence", "--png-dir",
              folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!fs::exists(Frame(folder, 5)) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const auto names = FilesIn(folder);
    ASSERT_GE(names.size(), 5u);
    ASSERT_LT(names.size(), 4180u);
    // Frames 1..N, every one whole.
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i], player::PngFrameName(static_cast<int>(i) + 1));
        EXPECT_EQ(ReadPng(folder + "/" + names[i]).error, "") << names[i];
    }
    const std::string err = FileBytes(errPath);
    EXPECT_NE(err.find("stopped at frame " + std::to_string(names.size()) + " of 4180"),
              std::string::npos)
        << err;
}

TEST(RenderProgram, HelpAndVersionExitWithZero) {
    PlayerRun help = Render({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: tolvek render [SOUND] [OPTION]...", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    PlayerRun version = RunPlayer({"--version"}, {});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "tolvek (Quenari Tolvek) 0.1.0\n");
    PlayerRun playerHelp = RunPlayer({"--help"}, {});
    EXPECT_NE(playerHelp.out.find("tolvek render [SOUND]"), std::string::npos) << playerHelp.out;
}

TEST(RenderProgram, UsageMistakesExitWithTwoAndAShortHint) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--loud"},
                                                 {"--frames", "9-5"},
                                                 {"--fps", "0"},
                                                 {"--silence", "song.wav"}}) {
        PlayerRun run = Render(args);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        const auto lines = Lines(run.err);
        ASSERT_EQ(lines.size(), 2u) << run.err;
        EXPECT_EQ(lines[0].rfind("tolvek render: ", 0), 0u) << run.err;
        EXPECT_EQ(lines[1], "Try 'tolvek render --help' for more information.");
    }
}

TEST(RenderProgram, ErrorsExitWithOneAndOneLineNamingTheProblem) {
    ScratchFolder scratch;
    const std::string words = scratch.Path("words.flac");
    std::ofstream(words) << "not a sound file";
    const std::string notAFolder = scratch.Path("file");
    std::ofstream(notAFolder) << "x";
    struct Case {
        std::vector<std::string> args;
        std::vector<std::pair<std::string, std::string>> environment;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{scratch.Path("missing.wav")}, {}, "missing.wav: "},
        {{words}, {}, "words.flac: "},
        {{"--silence", "--frames", "1-2", "--png-dir", notAFolder}, {}, "is not a folder"},
        {{"--silence", "--plugin", NOT_A_VIS_PATH}, {}, "no winampVisGetHeader"},
        {{"--silence", "--frames", "1-2", "--video", scratch.Path("v.mp4")},
         {{"PATH", "/nonexistent"}},
         "needs the ffmpeg program"},
        {{"--silence", "--frames", "1-2", "--video", scratch.Path("no/such/v.mp4")},
         {},
         "its folder does not exist"},
    };
    for (const Case& c : cases) {
        PlayerRun run = Render(c.args, c.environment);
        EXPECT_EQ(run.exitCode, 1) << c.expected << "\n" << run.err;
        const auto lines = Lines(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_NE(lines[0].find(c.expected), std::string::npos) << run.err;
    }
}

TEST(RenderProgram, APlugInThatEndsTheShowEarlyIsAFailureKeepingItsFrames) {
    ScratchFolder scratch;
    PlayerRun run = Render({"--silence", "--frames", "1-10", "--plugin", FAKE_VIS_PATH, "--png-dir",
                            scratch.Path("f")},
                           {{"FAKE_VIS_RENDERS", "4"}});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("ended the show at frame 4 of 10"), std::string::npos) << run.err;
    EXPECT_EQ(FilesIn(scratch.Path("f")).size(), 3u);
}

}  // namespace
