// Playing without a sound device: the heard moment follows the clock, and the transport,
// playlist, skipping and looping behave like a media player's.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "player/sound/playback.h"

namespace {

using hostkit::SoundTrack;
using player::Playback;
using player::Transport;

// Tracks named "rate:seconds:channels"; "bad" cannot be opened. Each sample holds its frame
// number (mod 30000), so positions can be read back from the sound.
std::unique_ptr<hostkit::SoundTrack> OpenNamed(const std::string& name, std::string* error) {
    int rate = 0;
    int seconds = 0;
    int channels = 0;
    if (std::sscanf(name.c_str(), "%d:%d:%d", &rate, &seconds, &channels) != 3) {
        *error = name + ": cannot be read: unknown format";
        return nullptr;
    }
    const int stored = channels == 1 ? 1 : 2;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate) * seconds * stored);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>((i / stored) % 30000);
    }
    return std::make_unique<hostkit::MemoryTrack>(name, rate, channels, std::move(samples));
}

class PlaybackTest : public testing::Test {
  protected:
    std::unique_ptr<Playback> Make(std::vector<std::string> names, bool loop = false) {
        return std::make_unique<Playback>(
            std::move(names), &OpenNamed, nullptr, [this] { return now; },
            [this](const std::string& line) { reports.push_back(line); }, loop);
    }
    // The frame number held in the first sample of the window handed over now.
    int WindowFrame(Playback& playback, int aheadMs = 0) {
        hostkit::SoundWindow sound = playback.WindowAt(aheadMs);
        return sound.samples == nullptr ? -1 : sound.samples[0];
    }

    double now = 100.0;
    std::vector<std::string> reports;
};

TEST_F(PlaybackTest, HeardMomentFollowsTheClockPlusTheModulesLatency) {
    auto playback = Make({"1000:20:2"});
    ASSERT_TRUE(playback->Start());
    EXPECT_EQ(playback->transport(), Transport::Playing);
    EXPECT_FALSE(playback->playsOnDevice());
    now += 2.5;
    EXPECT_EQ(playback->heardFrame(), 2500);
    EXPECT_EQ(WindowFrame(*playback), 2500);
    EXPECT_EQ(WindowFrame(*playback, 25), 2525);
    EXPECT_DOUBLE_EQ(playback->positionSeconds(), 2.5);
}

TEST_F(PlaybackTest, PauseHoldsTheMomentAndPlayGoesOnFromIt) {
    auto playback = Make({"1000:20:2"});
    ASSERT_TRUE(playback->Start());
    now += 1.0;
    playback->TogglePause();
    EXPECT_EQ(playback->transport(), Transport::Paused);
    now += 5.0;
    EXPECT_EQ(playback->heardFrame(), 1000);
    playback->TogglePause();
    now += 0.5;
    EXPECT_EQ(playback->heardFrame(), 1500);
}

TEST_F(PlaybackTest, SeekMovesFiveSecondsAndStopsAtTheEnds) {
    auto playback = Make({"1000:20:2"});
    ASSERT_TRUE(playback->Start());
    now += 3.0;
    playback->SeekSeconds(5.0);
    EXPECT_EQ(playback->heardFrame(), 8000);
    playback->SeekSeconds(-5.0);
    playback->SeekSeconds(-5.0);
    EXPECT_EQ(playback->heardFrame(), 0);
    playback->SeekSeconds(60.0);
    EXPECT_EQ(playback->heardFrame(), 19999);
}

TEST_F(PlaybackTest, StopGivesSilenceAndPlayStartsOver) {
    auto playback = Make({"1000:20:2"});
    ASSERT_TRUE(playback->Start());
    now += 4.0;
    playback->Stop();
    EXPECT_EQ(playback->transport(), Transport::Stopped);
    EXPECT_EQ(WindowFrame(*playback), -1);
    playback->TogglePause();  // pausing a stopped player does nothing
    EXPECT_EQ(playback->transport(), Transport::Stopped);
    now += 1.0;
    playback->Play();
    now += 0.25;
    EXPECT_EQ(playback->heardFrame(), 250);
}

TEST_F(PlaybackTest, UnreadableEntriesAreSkippedWithOneLineEach) {
    auto playback = Make({"bad-one", "1000:2:1", "bad-two", "8000:1:6"});
    ASSERT_TRUE(playback->Start());
    ASSERT_EQ(reports, std::vector<std::string>{"bad-one: cannot be read: unknown format"});
    EXPECT_EQ(playback->sampleRate(), 1000);
    EXPECT_EQ(playback->sourceChannels(), 1);
    now += 2.0;
    playback->Update();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], "bad-two: cannot be read: unknown format");
    EXPECT_EQ(playback->sampleRate(), 8000);
    EXPECT_EQ(playback->sourceChannels(), 6);
    now += 0.5;
    EXPECT_EQ(playback->heardFrame(), 4000);
    now += 0.5;
    playback->Update();
    EXPECT_TRUE(playback->finished());
    EXPECT_EQ(playback->transport(), Transport::Stopped);
    EXPECT_EQ(WindowFrame(*playback), -1);
}

TEST_F(PlaybackTest, NothingPlayableMeansNoStart) {
    auto playback = Make({"bad-one", "bad-two"});
    EXPECT_FALSE(playback->Start());
    EXPECT_TRUE(playback->finished());
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(PlaybackTest, NextAndPreviousMoveThroughTheList) {
    auto playback = Make({"1000:5:2", "2000:5:2", "3000:5:2"});
    ASSERT_TRUE(playback->Start());
    playback->Next();
    EXPECT_EQ(playback->sampleRate(), 2000);
    playback->Next();
    playback->Next();  // no further entry: stays on the last
    EXPECT_EQ(playback->sampleRate(), 3000);
    now += 1.0;
    playback->Previous();
    EXPECT_EQ(playback->sampleRate(), 2000);
    EXPECT_EQ(playback->heardFrame(), 0);
    playback->Previous();
    playback->Previous();  // at the first entry: back to its start
    EXPECT_EQ(playback->sampleRate(), 1000);
}

TEST_F(PlaybackTest, LoopedTrackWrapsAroundItsEnd) {
    auto playback = Make({"1000:3:2"}, true);
    ASSERT_TRUE(playback->Start());
    now += 3.5;
    playback->Update();
    EXPECT_FALSE(playback->finished());
    EXPECT_EQ(playback->heardFrame(), 500);
    // A window across the end continues from the start.
    now += 2.375;
    EXPECT_EQ(WindowFrame(*playback), 2875);
    EXPECT_EQ(playback->WindowAt(0).samples[2 * 124], 2999);
    EXPECT_EQ(playback->WindowAt(0).samples[2 * 125], 0);
    EXPECT_EQ(playback->WindowAt(0).samples[2 * 130], 5);
}

TEST_F(PlaybackTest, VolumeStaysBetweenSilentAndFull) {
    auto playback = Make({"1000:3:2"});
    ASSERT_TRUE(playback->Start());
    playback->ChangeVolume(-30);
    EXPECT_EQ(playback->volumePercent(), 70);
    playback->ChangeVolume(+50);
    EXPECT_EQ(playback->volumePercent(), 100);
    for (int i = 0; i < 30; ++i)
        playback->ChangeVolume(-5);
    EXPECT_EQ(playback->volumePercent(), 0);
}

// Tracks move on as they end; the played entries' rates name them (1000 Hz for the first, ...).
TEST_F(PlaybackTest, ShufflePlaysEveryEntryOnceARoundAndRepeatStartsAnother) {
    std::vector<std::string> names;
    for (int i = 1; i <= 7; ++i)
        names.push_back(std::to_string(1000 * i) + ":1:2");
    names.push_back("bad");
    auto playback = Make(names);
    playback->SeedShuffle(7);
    playback->SetShuffle(true);
    playback->SetRepeat(true);
    ASSERT_TRUE(playback->Start());
    std::vector<int> heard = {playback->sampleRate()};
    for (int step = 0; step < 20; ++step) {
        now += 1.01;
        playback->Update();
        heard.push_back(playback->sampleRate());
    }
    EXPECT_FALSE(playback->finished());
    // Three rounds of seven: each holds every playable entry once, in orders of their own.
    std::vector<std::vector<int>> rounds;
    for (int r = 0; r < 3; ++r) {
        std::vector<int> round(heard.begin() + 7 * r, heard.begin() + 7 * (r + 1));
        rounds.push_back(round);
        std::sort(round.begin(), round.end());
        EXPECT_EQ(round, (std::vector<int>{1000, 2000, 3000, 4000, 5000, 6000, 7000}));
    }
    EXPECT_NE(rounds[0], rounds[1]);
    EXPECT_NE(rounds[0].back(), rounds[1].front());
    // The unreadable entry was said once, not once a round.
    EXPECT_EQ(reports.size(), 1u);

    // Shuffle off: the list in its own order again, from the entry playing.
    const int playing = playback->sampleRate();
    playback->SetShuffle(false);
    EXPECT_EQ(playback->sampleRate(), playing);
    playback->Next();
    EXPECT_EQ(playback->sampleRate(), playing == 7000 ? 1000 : playing + 1000);
}

TEST_F(PlaybackTest, AddedEntriesStartWhenNothingPlaysAndReplaceTheTune) {
    auto tune = Make({"1000:60:2"}, true);
    ASSERT_TRUE(tune->Start());
    now += 5.0;
    tune->Add({"2000:2:2", "3000:2:2"});
    EXPECT_EQ(tune->names(), (std::vector<std::string>{"2000:2:2", "3000:2:2"}));
    EXPECT_EQ(tune->sampleRate(), 2000);
    EXPECT_EQ(tune->heardFrame(), 0);
    now += 2.5;
    tune->Update();
    EXPECT_EQ(tune->sampleRate(), 3000);
    now += 2.5;
    tune->Update();
    EXPECT_TRUE(tune->finished());  // no longer looping: the tune is gone

    // Added while a list plays: they wait their turn.
    auto list = Make({"1000:2:2"});
    ASSERT_TRUE(list->Start());
    list->Add({"4000:2:2"});
    EXPECT_EQ(list->sampleRate(), 1000);
    now += 2.5;
    list->Update();
    EXPECT_EQ(list->sampleRate(), 4000);
    // Added after the list played out: they start at once.
    now += 2.5;
    list->Update();
    ASSERT_TRUE(list->finished());
    list->Add({"5000:2:2"});
    EXPECT_FALSE(list->finished());
    EXPECT_EQ(list->transport(), Transport::Playing);
    EXPECT_EQ(list->sampleRate(), 5000);
}

TEST_F(PlaybackTest, TheTuneGoesOnWhenNothingDroppedOnItOpens) {
    auto tune = Make({"1000:60:2"}, true);
    ASSERT_TRUE(tune->Start());
    now += 5.0;
    EXPECT_EQ(tune->Add({"cover.png", "broken"}), 0);
    EXPECT_EQ(tune->names(), std::vector<std::string>{"1000:60:2"});
    EXPECT_EQ(tune->transport(), Transport::Playing);
    EXPECT_EQ(WindowFrame(*tune), 5000);
    EXPECT_EQ(reports.size(), 2u);
    // Still the tune and its loop: past its end it starts over.
    now += 60.0;
    tune->Update();
    EXPECT_FALSE(tune->finished());
    EXPECT_EQ(WindowFrame(*tune), 5000);
    // A later entry of a drop that opens takes the tune's place; the one before stays skipped.
    EXPECT_EQ(tune->Add({"broken", "2000:2:2"}), 2);
    EXPECT_EQ(tune->sampleRate(), 2000);
    EXPECT_EQ(tune->position(), 1);
    EXPECT_EQ(tune->heardFrame(), 0);
}

}  // namespace
