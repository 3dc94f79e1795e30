// Files and folders dropped on the show while the built-in tune plays: read beside the show,
// which goes on drawing, and the tune replaced only by something that plays.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "hostkit/host_window.h"
#include "hostkit/playlist.h"
#include "platform/host_services.h"
#include "player/live/live_client.h"
#include "player/live/status_line.h"
#include "player/sound/playback.h"
#include "tests/player/fake_host.h"
#include "tests/player/sound_files.h"

namespace {

// ".wav" names open as a second of silence at 8 kHz; the empty name is the tune; the rest fail.
std::unique_ptr<hostkit::SoundTrack> OpenByName(const std::string& name, std::string* error) {
    if (name.empty() || name.ends_with(".wav"))
        return std::make_unique<hostkit::MemoryTrack>(name.empty() ? "tune" : name, 8000, 2,
                                                      std::vector<std::int16_t>(16000, 0));
    *error = name + ": cannot be read: not a sound file";
    return nullptr;
}

class DropTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(fake.record(), nullptr) << fake.error();
        said = std::tmpfile();
        ASSERT_NE(said, nullptr);
        status = std::make_unique<player::StatusLine>(said, false);
        playback = std::make_unique<player::Playback>(
            std::vector<std::string>{""}, &OpenByName, nullptr, [this] { return now; },
            [this](const std::string& line) { status->Message(line); }, true);
        ASSERT_TRUE(playback->Start());
    }
    void TearDown() override { std::fclose(said); }

    // Drops `paths` on the show window at the first turn and runs until the drop was taken in
    // (and `extra` turns more); returns the frames rendered while it was being read.
    int DropAndRun(const std::vector<std::string>& paths, int extra = 2) {
        player::LiveClient client(playback.get(), nullptr, [this](int) { now += 0.025; },
                                  status.get());
        hostkit::HostWindow window;
        window.SetControls(&client);
        int whileReading = 0;
        int after = -1;
        player_testing::ScriptedTurns turns(client, [&](int turn) {
            if (turn == 1)
                platform::DropFiles(fake.record()->window, paths);
            else if (client.readingDrops())
                ++whileReading;
            else if (++after >= extra)
                PostQuitMessage(0);
        });
        hostkit::HostLoop loop(fake.module(), window.handle(), fake.library().instance());
        loop.Host(turns);
        return whileReading;
    }

    player_testing::FakePlugin fake;
    double now = 0;
    std::FILE* said = nullptr;
    std::unique_ptr<player::StatusLine> status;
    std::unique_ptr<player::Playback> playback;
};

TEST_F(DropTest, APictureDroppedOnTheTuneLeavesTheTunePlaying) {
    DropAndRun({"/pictures/cover.png"});
    EXPECT_EQ(playback->track()->name(), "tune");
    EXPECT_EQ(playback->transport(), player::Transport::Playing);
    const std::string text = player_testing::ReadWholeFile(said);
    EXPECT_NE(text.find("/pictures/cover.png: cannot be read"), std::string::npos) << text;
    EXPECT_NE(text.find("/pictures/cover.png cannot be played; the tune goes on"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("added"), std::string::npos) << text;
}

TEST_F(DropTest, AHugeTreeIsReadWhileTheShowGoesOnDrawing) {
    player_testing::ScratchFolder memory(true);
    for (int top = 0; top < 50; ++top)
        for (int sub = 0; sub < 1000; ++sub)
            std::filesystem::create_directories(
                memory.Path("tree/" + std::to_string(top) + "/" + std::to_string(sub)));
    std::ofstream(memory.Path("tree/0/0/song.wav")) << "";
    const auto rendersBefore = fake.record()->waveforms.size();
    EXPECT_GE(DropAndRun({memory.Path("tree")}), 2) << "the show stood still while reading";
    EXPECT_GT(fake.record()->waveforms.size(), rendersBefore + 3);
    EXPECT_EQ(playback->track()->name(), memory.Path("tree/0/0/song.wav"));
    const std::string text = player_testing::ReadWholeFile(said);
    EXPECT_NE(text.find("walked " + std::to_string(hostkit::kMaxFoldersWalked) + " folders"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("added " + memory.Path("tree/0/0/song.wav")), std::string::npos) << text;
}

}  // namespace
