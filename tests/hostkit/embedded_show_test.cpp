// A show embedded in another program's event loop: the real vis_tolvek.so driven turn by turn
// as a widget's timer drives it, fed from the ring another program's sound goes into.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <vector>

#include "hostkit/desktop/embedded_show.h"
#include "hostkit/sound_ring.h"
#include "platform/host_services.h"
#include "tests/support/bmp_writer.h"

namespace {

using hostkit::PlayerCommand;
using hostkit::SoundRing;
using hostkit::TurnResult;

constexpr int kBlock = 512;

std::string BuiltPlugin() {
    return std::string(std::getenv("TOLVEK_PLUGIN_DIR")) + "/vis_tolvek.so";
}

// One block as Audacious hands it over: 512 interleaved float frames.
std::vector<float> Block(int channels, float (*value)(int frame, int channel)) {
    std::vector<float> pcm(static_cast<std::size_t>(512 * channels));
    for (int f = 0; f < 512; ++f)
        for (int c = 0; c < channels; ++c)
            pcm[static_cast<std::size_t>(f * channels + c)] = value(f, c);
    return pcm;
}

// A host as Audacious is one: its format, its transport, blocks of sound in a ring; the
// commands the show hands back and what it says, recorded.
struct Recorder : hostkit::HostClient, hostkit::HostControls {
    hostkit::SoundFormat Format() override { return format; }
    bool Paused() override { return !playing; }
    hostkit::HeardSound Sound(const winampVisModule&) override {
        return {ring.Spread(kBlock), std::nullopt};
    }
    void Act(PlayerCommand c) override { commands.push_back(c); }
    bool TakesWindowCommands() const override { return true; }

    // One turn with this format and transport.
    TurnResult Turn(bool play, hostkit::SoundFormat f = {}) {
        playing = play;
        format = f;
        return session.Turn(*this);
    }
    bool Start(hostkit::SoundFormat f, std::string* error) {
        format = f;
        return session.Start(*this, error);
    }

    hostkit::SoundFormat format;
    bool playing = true;
    SoundRing ring{4 * kBlock};
    std::vector<PlayerCommand> commands;
    std::vector<std::string> messages;
    hostkit::EmbeddedShow session{this, [this](const std::string& caption, const std::string& text) {
                                      messages.push_back(caption + ": " + text);
                                  }};
};

TEST(SoundRing, NewestBlockIsSpreadOverTheWholeWindow) {
    SoundRing ring(4 * kBlock);
    EXPECT_EQ(ring.Spread(kBlock).samples, nullptr);  // silence before any sound
    auto old = Block(2, [](int, int) { return -0.5f; });
    ring.Push(old.data(), 512, 2);
    // Distinct values per frame and channel, so a swapped channel or a stale frame shows.
    auto newest = Block(2, [](int f, int c) { return (f + 1) / 1024.0f * (c == 0 ? 1 : -1); });
    ring.Push(newest.data(), 512, 2);
    hostkit::SoundWindow window = ring.Spread(kBlock);
    ASSERT_EQ(window.frames, 576);
    ASSERT_EQ(window.channels, 2);
    std::set<int> left;
    for (int f = 0; f < window.frames; ++f) {
        const std::int16_t l = window.samples[f * 2];
        const std::int16_t r = window.samples[f * 2 + 1];
        EXPECT_EQ(l, -r) << f;
        EXPECT_GT(l, 0) << "frame " << f << " comes from the older block";
        if (f > 0) {
            EXPECT_GE(l, window.samples[(f - 1) * 2]) << f;
        }
        left.insert(l);
    }
    EXPECT_EQ(left.size(), 512u) << "every frame of the block is shown";
    EXPECT_EQ(window.samples[0], hostkit::FloatToSample16(1 / 1024.0f));
    EXPECT_EQ(window.samples[575 * 2], hostkit::FloatToSample16(512 / 1024.0f));
}

TEST(SoundRing, KeepsTwoChannelsOfManyAndStartsAnewOnAnotherCount) {
    SoundRing ring(4 * kBlock);
    auto six = Block(6, [](int, int c) { return c / 8.0f; });
    ring.Push(six.data(), 512, 6);
    hostkit::SoundWindow window = ring.Spread(kBlock);
    ASSERT_EQ(window.channels, 2);
    EXPECT_EQ(window.samples[0], 0);
    EXPECT_EQ(window.samples[1], hostkit::FloatToSample16(1 / 8.0f));
    auto mono = Block(1, [](int, int) { return 0.25f; });
    ring.Push(mono.data(), 100, 1);  // a short first block: the rest is not the old song
    window = ring.Spread(kBlock);
    EXPECT_EQ(window.channels, 1);
    for (int f = 0; f < window.frames; ++f)
        EXPECT_EQ(window.samples[f], hostkit::FloatToSample16(0.25f)) << f;
    ring.Clear();
    EXPECT_EQ(ring.Spread(kBlock).samples, nullptr);
}

TEST(SoundRing, NewestFramesAreConsecutiveWithSilenceBeforeTheFirst) {
    SoundRing ring(1024);
    std::vector<float> left(300), right(300);
    for (int f = 0; f < 300; ++f) {
        left[static_cast<std::size_t>(f)] = f / 1024.0f;
        right[static_cast<std::size_t>(f)] = -f / 1024.0f;
    }
    const float* planes[] = {left.data(), right.data()};
    ring.PushPlanar(planes, 300, 2);
    hostkit::SoundWindow window = ring.Newest(576);
    ASSERT_EQ(window.frames, 576);
    for (int f = 0; f < 276; ++f)
        EXPECT_EQ(window.samples[f * 2], 0) << f;
    for (int f = 0; f < 300; ++f) {
        EXPECT_EQ(window.samples[(276 + f) * 2], hostkit::FloatToSample16(f / 1024.0f)) << f;
        EXPECT_EQ(window.samples[(276 + f) * 2 + 1], hostkit::FloatToSample16(-f / 1024.0f)) << f;
    }
    // Round the ring's end: still the newest, in order.
    for (int i = 0; i < 3; ++i)
        ring.PushPlanar(planes, 300, 2);
    window = ring.Newest(576);
    EXPECT_EQ(window.samples[575 * 2], hostkit::FloatToSample16(299 / 1024.0f));
    EXPECT_EQ(window.samples[(575 - 299) * 2], 0);
    EXPECT_EQ(window.samples[(575 - 300) * 2], hostkit::FloatToSample16(299 / 1024.0f));
    EXPECT_EQ(ring.framesPushed(), 1200);
}

TEST(EmbeddedShow, RendersWithTheRingsSoundAndNotWhilePaused) {
    Recorder host;
    std::string error;
    ASSERT_TRUE(host.session.Load(BuiltPlugin(), &error)) << error;
    ASSERT_TRUE(host.Start({22050, 1}, &error)) << error;
    EXPECT_EQ(host.session.module().sRate, 22050);
    EXPECT_EQ(host.session.module().nCh, 1);
    EXPECT_EQ(host.session.delayMs(), 25);
    auto sine = Block(1, [](int f, int) { return 0.8f * std::sin(f * 0.05f); });
    host.ring.Push(sine.data(), 512, 1);
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(host.Turn(true, {44100, 1}), TurnResult::Rendered) << i;
    EXPECT_EQ(host.session.presentCount(), 30);
    // Mono fills both channels with the top byte of each 16-bit sample.
    const winampVisModule& module = host.session.module();
    hostkit::SoundWindow window = host.ring.Spread(kBlock);
    for (int i = 0; i < 576; ++i) {
        EXPECT_EQ(module.waveformData[0][i], hostkit::WaveformByte(window.samples[i])) << i;
        EXPECT_EQ(module.waveformData[1][i], module.waveformData[0][i]) << i;
    }
    EXPECT_EQ(module.sRate, 44100);
    // The widget shows what the display presented: a picture, not a black frame.
    const hostkit::RenderedFrame& frame = host.session.frame();
    std::set<BYTE> indices(frame.pixels.begin(), frame.pixels.end());
    EXPECT_GT(indices.size(), 16u);
    int coloured = 0;
    for (BYTE index : indices) {
        const PALETTEENTRY& e = frame.palette[index];
        coloured += e.peRed + e.peGreen + e.peBlue > 0 ? 1 : 0;
    }
    EXPECT_GT(coloured, 16);
    // Paused: messages only.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(host.Turn(false, {44100, 1}), TurnResult::Idle);
    EXPECT_EQ(host.session.presentCount(), 30);
    EXPECT_EQ(host.session.framesRendered(), 30);
    host.session.Stop();
    EXPECT_FALSE(host.session.running());
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

TEST(EmbeddedShow, KeysReachTheShowWhichHandsTheControlsBackAndEscapeEndsIt) {
    Recorder host;
    std::string error;
    ASSERT_TRUE(host.session.Load(BuiltPlugin(), &error)) << error;
    ASSERT_TRUE(host.Start({44100, 2}, &error)) << error;
    host.session.SendKey('C', true, false);
    host.session.SendKey('C', false, false);
    host.session.SendKey('C', true, true);  // a held key: pausing acts once
    host.session.SendKey(VK_LEFT, true, false);
    host.session.SendKey(VK_LEFT, true, true);  // seeking follows a held key
    host.session.SendKey(VK_UP, true, false);
    host.session.SendKey('F', true, false);
    ASSERT_EQ(host.Turn(true), TurnResult::Rendered);
    EXPECT_EQ(host.commands,
              (std::vector<PlayerCommand>{PlayerCommand::Pause, PlayerCommand::SeekBack,
                                          PlayerCommand::SeekBack, PlayerCommand::VolumeUp,
                                          PlayerCommand::ToggleFullScreen}));
    host.session.SendKey(VK_ESCAPE, true, false);
    EXPECT_EQ(host.Turn(true), TurnResult::Ended);
    EXPECT_FALSE(host.session.running());
    // The show took everything with it: only the host's own window is left.
    EXPECT_EQ(platform::CountWindows(), 1);
    EXPECT_EQ(platform::CountDisplayObjects(), 0);
    // Started again, it goes on.
    ASSERT_TRUE(host.Start({44100, 2}, &error)) << error;
    EXPECT_EQ(host.Turn(true), TurnResult::Rendered);
}

TEST(EmbeddedShow, MissingPluginOrDataPackIsSaid) {
    Recorder host;
    std::string error;
    EXPECT_FALSE(host.session.Load("/nonexistent/vis_tolvek.so", &error));
    EXPECT_NE(error.find("/nonexistent/vis_tolvek.so"), std::string::npos) << error;
    EXPECT_FALSE(host.Start({}, &error));
    // The plug-in alone, without its data folder beside it.
    const testing_support::TempFolder scratch;
    const std::filesystem::path dir = scratch.Path("tolvek-embedded-nodata");
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(BuiltPlugin(), dir / "vis_tolvek.so",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(host.session.Load((dir / "vis_tolvek.so").string(), &error)) << error;
    if (host.Start({}, &error))
        host.Turn(true);
    host.session.Stop();
    ASSERT_FALSE(host.messages.empty()) << "a missing data pack went unsaid";
    EXPECT_NE(host.messages.front().find("tolvek-embedded-nodata/v_tolvek/"), std::string::npos)
        << host.messages.front();
    // The figures' lines reach the host as the pictures' do.
    EXPECT_TRUE(std::any_of(host.messages.begin(), host.messages.end(), [](const std::string& m) {
        return m.find("figure file") != std::string::npos &&
               m.find("tolvek-embedded-nodata/v_tolvek/") != std::string::npos;
    })) << "no figure file among " << host.messages.size() << " notices";
}

}  // namespace
