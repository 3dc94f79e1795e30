// The frame-save key in the live player: P on the show's window saves the frame on screen, its
// presented indices and palette, as a PNG named by the time in the user's pictures folder.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/desktop/plugin_library.h"
#include "hostkit/presented_frame.h"
#include "platform/host_services.h"
#include "hostkit/desktop/frame_save.h"
#include "player/live/live_client.h"
#include "hostkit/host_window.h"
#include "player/live/status_line.h"
#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

BOOL FindOwned(HWND candidate, LPARAM lParam) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(lParam);
    if (GetWindow(candidate, GW_OWNER) == search->first)
        search->second = candidate;
    return TRUE;
}

// The live client on silence, pressing P on the show at two turns six frames apart (so the
// backdrop differs) and quitting after them.
class PressingClient : public player::LiveClient {
  public:
    PressingClient(player::StatusLine* status, const hostkit::PresentedFrameCapture& frames)
        : LiveClient(
              nullptr, nullptr, [](int) {}, status),
          frames_(frames) {}
    void Wait(int) override {
        ++turn_;
        std::pair<HWND, HWND> search{player, nullptr};
        EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&search));
        if (turn_ == 40 || turn_ == 46) {
            onScreen.push_back(frames_.latest());
            PostMessageA(search.second, WM_KEYDOWN, 'P', 1);
        } else if (turn_ > 46) {
            PostQuitMessage(0);
        }
    }
    HWND player = nullptr;
    std::vector<hostkit::RenderedFrame> onScreen;

  private:
    const hostkit::PresentedFrameCapture& frames_;
    int turn_ = 0;
};

TEST(FrameSaveKey, SavesTheFrameOnScreenInThePicturesFolder) {
    const char* dir = std::getenv("TOLVEK_PLUGIN_DIR");
    ASSERT_NE(dir, nullptr);
    player_testing::ScratchFolder home;
    std::filesystem::create_directories(home.Path("config"));
    std::ofstream(home.Path("config/user-dirs.dirs"))
        << "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    const std::string oldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("HOME", home.Path("").c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.Path("config").c_str(), 1);
    EXPECT_EQ(hostkit::PicturesFolder(), home.Path("") + "/Bilder");

    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(1234567890);
    hostkit::PluginLibrary plugin;
    std::string error;
    ASSERT_TRUE(plugin.Load(std::string(dir) + "/vis_tolvek.so", &error)) << error;
    std::FILE* said = std::tmpfile();
    ASSERT_NE(said, nullptr);
    {
        player::StatusLine status(said, false);
        hostkit::PresentedFrameCapture frames;
        PressingClient client(&status, frames);
        hostkit::HostWindow window;
        window.SetControls(&client);
        client.player = window.handle();
        client.SaveFramesFrom(&frames);
        hostkit::HostLoop loop(*plugin.module(), window.handle(), plugin.instance());
        ASSERT_EQ(loop.Host(client), hostkit::HostEnd::QuitRequest);

        ASSERT_EQ(client.onScreen.size(), 2u);
        EXPECT_NE(client.onScreen[0].pixels, client.onScreen[1].pixels);
        // Each press saved the frame on screen then: its indices and its palette.
        std::vector<render_testing::PngFile> saved;
        for (const auto& entry : std::filesystem::directory_iterator(home.Path("Bilder"))) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(name.rfind("tolvek-", 0), 0u) << name;
            saved.push_back(render_testing::ReadPng(entry.path().string()));
            ASSERT_EQ(saved.back().error, "");
            EXPECT_EQ(saved.back().colourType, PNG_COLOR_TYPE_PALETTE);
        }
        ASSERT_EQ(saved.size(), 2u);
        for (const hostkit::RenderedFrame& frame : client.onScreen) {
            int matches = 0;
            for (const render_testing::PngFile& png : saved) {
                const PALETTEENTRY& entry = frame.palette[200];
                if (png.pixels == frame.pixels &&
                    png.palette[200] ==
                        std::array<unsigned char, 3>{entry.peRed, entry.peGreen, entry.peBlue})
                    ++matches;
            }
            EXPECT_EQ(matches, 1);
        }
        EXPECT_NE(
            player_testing::ReadWholeFile(said).find("saved the frame on screen as " + home.Path("") + "/Bilder/tolvek-"),
            std::string::npos);
    }
    std::fclose(said);
    platform::FixCalendarTime(std::nullopt);
    setenv("HOME", oldHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST(FrameSaveKey, TakenNamesGetANumberAndTheNameIsTheLocalTime) {
    player_testing::ScratchFolder folder;
    hostkit::RenderedFrame frame;
    const std::time_t when = 1234567890;
    std::string error;
    const std::string first = hostkit::SaveFrame(frame, folder.Path("new/pictures"), when, &error);
    const std::string second = hostkit::SaveFrame(frame, folder.Path("new/pictures"), when, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(first, folder.Path("new/pictures/") + hostkit::FrameFileName(when));
    EXPECT_EQ(second, first.substr(0, first.size() - 4) + "-2.png");
    EXPECT_TRUE(std::regex_match(hostkit::FrameFileName(when),
                                 std::regex(R"(tolvek-2009-02-1[34]-\d{6}\.png)")))
        << hostkit::FrameFileName(when);

    // A folder that cannot be made is said, naming it.
    std::ofstream(folder.Path("file")) << "x";
    EXPECT_EQ(hostkit::SaveFrame(frame, folder.Path("file/sub"), when, &error), "");
    EXPECT_NE(error.find(folder.Path("file/sub")), std::string::npos) << error;
}

}  // namespace
