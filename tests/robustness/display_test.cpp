// The display going away under the show: surfaces lost again and again (a minimised window, a
// lost full screen, a reset device), the display mode refused, and the X server vanishing under
// the running player.
#include <fcntl.h>
#include <poll.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/host_services.h"
#include "tests/player/run_player.h"
#include "tests/robustness/plugin_copy.h"
#include "tests/robustness/show_tour.h"

namespace robustness {
namespace {

TEST(Display, SurfacesLostEveryFewFramesAreRestoredAndTheShowGoesOn) {
    PluginCopy copy;
    int losses = 0;
    const TourResult tour = TourTheShow(copy.Instance(), [&losses](int render) {
        if (render % 5 == 0) {
            platform::MarkAllSurfacesLost();
            ++losses;
        }
    });
    EXPECT_EQ(tour.initResult, 0);
    EXPECT_EQ(tour.failedRenders, 0);
    // The frame drawn onto lost surfaces is not shown; the next one is, restored.
    EXPECT_EQ(tour.presented, tour.renders - losses);
    EXPECT_FALSE(tour.quitRequested);
    EXPECT_EQ(tour.errors, "");
    EXPECT_EQ(tour.displayObjectsLeft, 0);
    // The last frames are the backdrop's, reloaded after the loss (matched to the palette in
    // force then, as on Windows): a picture again, not a blank surface and a trace.
    EXPECT_GT(tour.lastFrameColours, 50);
}

TEST(Display, ARefusedDisplayModeIsReportedAndTheHostIsAskedToQuit) {
    PluginCopy copy;
    platform::InjectDisplayFault("SetDisplayMode", DDERR_UNSUPPORTEDMODE);
    const TourResult tour = TourTheShow(copy.Instance());
    platform::ClearDisplayFaults();
    EXPECT_EQ(tour.initResult, 0);
    // The refused mode, then the flip chain that needed it: each step that fails says so once.
    EXPECT_EQ(tour.messageBoxes,
              (std::vector<std::string>{"Error|DirectDraw Error DDERR_UNSUPPORTEDMODE",
                                        "Error|DirectDraw Error DDERR_NOEXCLUSIVEMODE"}));
    EXPECT_TRUE(tour.quitRequested);
    // A host that renders on regardless meets no crash.
    EXPECT_EQ(tour.failedRenders, 0);
    EXPECT_EQ(tour.windowsLeft, 0);
    EXPECT_EQ(tour.displayObjectsLeft, 0);
}

// An X server of the test's own on a display number nobody uses; empty name when none starts.
// The server picks the number itself (-displayfd) and takes it with its lock: tests running side
// by side that chose a free-looking number each would race for the same one.
class XServer {
  public:
    XServer() {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ends[0]);
            const std::string fd = std::to_string(ends[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ends[1]);
        // The number arrives once the server listens; a server that cannot start closes the pipe.
        std::string digits;
        pollfd ready{ends[0], POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && digits.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
                break;
            char chunk[16];
            const ssize_t got = read(ends[0], chunk, sizeof chunk);
            if (got <= 0)
                break;
            digits.append(chunk, static_cast<std::size_t>(got));
        }
        close(ends[0]);
        if (digits.find('\n') != std::string::npos) {
            number_ = std::atoi(digits.c_str());
            name_ = ":" + std::to_string(number_);
        }
    }
    ~XServer() { Kill(); }
    const std::string& name() const { return name_; }
    // Gone at once, as after a crash; its socket and lock are cleared so the number is free.
    void Kill() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (number_ >= 0) {
            std::error_code ignored;
            std::filesystem::remove(Socket(number_), ignored);
            char lock[32];
            std::snprintf(lock, sizeof lock, "/tmp/.X%d-lock", number_);
            std::filesystem::remove(lock, ignored);
            number_ = -1;
        }
    }

  private:
    static std::filesystem::path Socket(int number) {
        char path[64];
        std::snprintf(path, sizeof path, "/tmp/.X11-unix/X%d", number);
        return path;
    }

    pid_t pid_ = -1;
    int number_ = -1;
    std::string name_;
};

TEST(Display, TheXServerVanishingEndsThePlayerWithStatusOneAndALine) {
    XServer server;
    if (server.name().empty())
        GTEST_SKIP() << "no X server could be started (is Xvfb installed?)";
    std::thread killer([&server] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        server.Kill();
    });
    const auto started = std::chrono::steady_clock::now();
    const player_testing::PlayerRun run =
        player_testing::RunPlayer({"--window", "--clock", "1"},
                                  {{"DISPLAY", server.name()},
                                   {"TOLVEK_DISPLAY", "window"},
                                   {"PULSE_SERVER", "unix:/nonexistent"}},
                                  60);
    killer.join();
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_NE(run.err.find("tolvek: the display went away (the X server connection was lost)"),
              std::string::npos)
        << run.err;
}

// The libraries the process `pid` has mapped, one line each.
std::string MappedFiles(pid_t pid) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string text;
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash != std::string::npos)
            text += line.substr(slash) + "\n";
    }
    return text;
}

// Without a GPU, OpenGL is Mesa drawing with the CPU: several times the work of SDL's software
// renderer and some 90 MB of driver. The player's window is drawn without it.
TEST(Display, WithoutAGpuTheWindowIsDrawnWithoutLoadingOpenGl) {
    if (std::filesystem::exists("/dev/dri") || std::filesystem::exists("/dev/nvidia0"))
        GTEST_SKIP() << "this machine has a GPU";
    XServer server;
    if (server.name().empty())
        GTEST_SKIP() << "no X server could be started (is Xvfb installed?)";
    const pid_t player = fork();
    if (player == 0) {
        setenv("DISPLAY", server.name().c_str(), 1);
        setenv("TOLVEK_DISPLAY", "window", 1);
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);
        unsetenv("SDL_RENDER_DRIVER");
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(TOLVEK_PLAYER_PATH, "tolvek", "--window", "--clock", "1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(player, 0);
    // Long enough for the window, its renderer and a few hundred frames.
    std::this_thread::sleep_for(std::chrono::seconds(4));
    const bool running = waitpid(player, nullptr, WNOHANG) == 0;
    const std::string mapped = running ? MappedFiles(player) : std::string();
    kill(player, SIGTERM);
    waitpid(player, nullptr, 0);
    ASSERT_TRUE(running) << "the player ended within 4 s";
    EXPECT_NE(mapped.find("libX11"), std::string::npos) << mapped;
    for (const char* driver : {"/dri/", "libGLX", "libLLVM", "libEGL"})
        EXPECT_EQ(mapped.find(driver), std::string::npos) << driver << " in:\n" << mapped;
}

TEST(Display, NoDisplayAtAllEndsThePlayerWithStatusOneAndALine) {
    char nowhere[16];
    int number = 149;
    while (number > 100 && std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)))
        --number;
    std::snprintf(nowhere, sizeof nowhere, ":%d", number);
    const player_testing::PlayerRun run =
        player_testing::RunPlayer({"--window"},
                                  {{"DISPLAY", nowhere},
                                   {"WAYLAND_DISPLAY", "no-such-wayland"},
                                   {"TOLVEK_DISPLAY", "window"}},
                                  30);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("tolvek: no display"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace robustness
