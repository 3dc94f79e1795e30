// The offline timeline, seen by the recording fake plug-in: frame k gets the 576 sample frames from
// (k - 1) / fps, the same Init/Render/Quit order as the live host, and an end after the last frame,
// a stop request or a failed write.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/sound_track.h"
#include "hostkit/waveform.h"
#include "player/render/offline_render.h"
#include "tests/player/fake_host.h"

namespace {

using hostkit::HostEnd;
using player::FrameRange;
using player::RenderOffline;
using player_testing::FakePlugin;

constexpr int kRate = 44100;
constexpr std::int64_t kClickAt = 2 * kRate;  // 2.000 s
constexpr std::int16_t kClickValue = 30000;

// Silence with a 50 ms burst of a square wave starting at 2.000 s.
std::unique_ptr<hostkit::MemoryTrack> ClickTrack() {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(3 * kRate) * 2, 0);
    for (int i = 0; i < kRate / 20; ++i) {
        const std::int16_t value = (i / 22) % 2 == 0 ? kClickValue : -kClickValue;
        samples[static_cast<std::size_t>(kClickAt + i) * 2] = value;
        samples[static_cast<std::size_t>(kClickAt + i) * 2 + 1] = value;
    }
    return std::make_unique<hostkit::MemoryTrack>("clicks", kRate, 2, std::move(samples));
}

bool AllZero(const std::array<unsigned char, 2 * kWaveformSamples>& wave) {
    return std::all_of(wave.begin(), wave.end(), [](unsigned char b) { return b == 0; });
}

long Count(const std::vector<std::string>& events, const std::string& name) {
    return std::count(events.begin(), events.end(), name);
}

// Remembers which frames it was handed; fails on `failAt` when set.
class RecordingSink : public player::FrameSink {
  public:
    std::string Write(int frame, const hostkit::RenderedFrame& image) override {
        if (frame == failAt)
            return "disk full";
        frames.push_back(frame);
        sizes.push_back(static_cast<int>(image.pixels.size()));
        return {};
    }
    std::string Finish() override {
        ++finished;
        return {};
    }
    std::vector<int> frames;
    std::vector<int> sizes;
    int failAt = -1;
    int finished = 0;
};

class OfflineTimeline : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(fake.record(), nullptr) << fake.error(); }
    FakeVisRecord& record() { return *fake.record(); }
    FakePlugin fake;
};

TEST_F(OfflineTimeline, AClickAtTwoSecondsFirstShowsInFrame61AtThirtyFps) {
    auto track = ClickTrack();
    auto run = RenderOffline(fake.library(), track.get(), 30, FrameRange{1, 70}, {}, nullptr, {});
    EXPECT_EQ(run.end, hostkit::HostEnd::QuitRequest);
    EXPECT_EQ(run.framesRendered, 70);
    ASSERT_EQ(record().waveforms.size(), 70u);
    for (int k = 1; k <= 60; ++k)
        EXPECT_TRUE(AllZero(record().waveforms[k - 1])) << "frame " << k << " already shows it";
    // No latency shift: the click is the first sample of frame 61's waveform, in both channels.
    const auto& frame61 = record().waveforms[60];
    EXPECT_EQ(frame61[0], hostkit::WaveformByte(kClickValue));
    EXPECT_EQ(frame61[kWaveformSamples], hostkit::WaveformByte(kClickValue));
    // Frame 62 starts 1470 sample frames later, still inside the 2205-frame burst.
    EXPECT_FALSE(AllZero(record().waveforms[61]));
    EXPECT_TRUE(AllZero(record().waveforms[69]));
}

TEST_F(OfflineTimeline, InitThenOneRenderPerFrameThenOneQuit) {
    std::vector<int> seen;
    auto run =
        RenderOffline(fake.library(), nullptr, 30, FrameRange{1, 5}, {}, nullptr, [&](int frame) {
            seen.push_back(frame);
            record().events.push_back("frame " + std::to_string(frame));
        });
    EXPECT_EQ(run.end, hostkit::HostEnd::QuitRequest);
    std::vector<std::string> calls;
    for (const auto& event : record().events) {
        if (event.rfind("message", 0) != 0)
            calls.push_back(event);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"Init", "Render", "frame 1", "Render", "frame 2",
                                               "Render", "frame 3", "Render", "frame 4", "Render",
                                               "frame 5", "Quit"}));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(OfflineTimeline, SilenceIsZeroBytesInTwoChannelsAt44100) {
    std::memset(fake.module().waveformData, 0x55, sizeof fake.module().waveformData);
    RenderOffline(fake.library(), nullptr, 30, FrameRange{1, 3}, {}, nullptr, {});
    EXPECT_EQ(record().sRateAtInit, 44100);
    EXPECT_EQ(record().nChAtInit, 2);
    ASSERT_EQ(record().waveforms.size(), 3u);
    for (const auto& wave : record().waveforms)
        EXPECT_TRUE(AllZero(wave));
    for (const auto& format : record().formats)
        EXPECT_EQ(format, (std::array<int, 2>{44100, 2}));
}

TEST_F(OfflineTimeline, AMonoSourceAt22050FillsBothChannelsFromItsOwnTimeline) {
    // Each sample holds its frame number in the top byte (mod 128), so positions can be read back.
    std::vector<std::int16_t> samples(22050);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>((i % 128) << 8);
    hostkit::MemoryTrack track("ramp", 22050, 1, std::move(samples));
    RenderOffline(fake.library(), &track, 30, FrameRange{1, 3}, {}, nullptr, {});
    EXPECT_EQ(record().nChAtInit, 1);
    EXPECT_EQ(record().sRateAtInit, 22050);
    ASSERT_EQ(record().waveforms.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        const auto& wave = record().waveforms[static_cast<std::size_t>(k - 1)];
        const int start = (k - 1) * 735;
        EXPECT_EQ(wave[0], start % 128) << "frame " << k;
        EXPECT_EQ(wave[575], (start + 575) % 128) << "frame " << k;
        EXPECT_EQ(wave[kWaveformSamples], wave[0]) << "mono copied to both channels";
    }
}

TEST_F(OfflineTimeline, OnlyTheFramesOfTheRangeReachTheSinksAndEachSinkIsFinishedByItsOwner) {
    RecordingSink first;
    RecordingSink second;
    auto run = RenderOffline(fake.library(), nullptr, 30, FrameRange{3, 6}, {&first, &second},
                             nullptr, {});
    EXPECT_EQ(run.framesRendered, 6);
    EXPECT_EQ(run.framesWritten, 4);
    EXPECT_EQ(first.frames, (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(second.frames, first.frames);
    // The fake presents nothing: a blank 640x480 frame stands in.
    EXPECT_EQ(first.sizes.front(), 640 * 480);
    EXPECT_EQ(first.finished, 0);
}

TEST_F(OfflineTimeline, AStopRequestEndsAfterTheFrameBeingRenderedWithOneQuit) {
    std::atomic<bool> stop{false};
    RecordingSink sink;
    auto run = RenderOffline(fake.library(), nullptr, 30, FrameRange{1, 100}, {&sink}, &stop,
                             [&stop](int frame) {
                                 if (frame == 7)
                                     stop = true;
                             });
    EXPECT_TRUE(run.stoppedEarly);
    EXPECT_EQ(run.framesRendered, 7);
    EXPECT_EQ(sink.frames.size(), 7u);
    EXPECT_EQ(Count(record().events, "Render"), 7);
    EXPECT_EQ(Count(record().events, "Quit"), 1);
}

TEST_F(OfflineTimeline, AFailedWriteEndsTheRunAndSaysWhy) {
    RecordingSink sink;
    sink.failAt = 4;
    auto run = RenderOffline(fake.library(), nullptr, 30, FrameRange{2, 100}, {&sink}, nullptr, {});
    EXPECT_TRUE(run.stoppedEarly);
    EXPECT_EQ(run.error, "disk full");
    EXPECT_EQ(run.framesRendered, 4);
    EXPECT_EQ(run.framesWritten, 2);
    EXPECT_EQ(Count(record().events, "Quit"), 1);
}

TEST_F(OfflineTimeline, AModuleThatStopsRenderingEndsTheRunEarly) {
    record().stopAfterRenders = 3;
    auto run = RenderOffline(fake.library(), nullptr, 30, FrameRange{1, 10}, {}, nullptr, {});
    EXPECT_EQ(run.end, hostkit::HostEnd::RenderStopped);
    EXPECT_EQ(run.framesRendered, 3);
    EXPECT_EQ(Count(record().events, "Quit"), 1);
}

TEST_F(OfflineTimeline, AModuleThatDoesNotStartIsNeitherRenderedNorQuit) {
    record().initResult = 1;
    auto run = RenderOffline(fake.library(), nullptr, 30, FrameRange{1, 10}, {}, nullptr, {});
    EXPECT_EQ(run.end, hostkit::HostEnd::NotStarted);
    EXPECT_EQ(Count(record().events, "Render"), 0);
    EXPECT_EQ(Count(record().events, "Quit"), 0);
}

}  // namespace
