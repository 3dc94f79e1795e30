// The render command line, the range it resolves to, frame names, ffmpeg's arguments and the
// progress report's wording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "player/render/offline_client.h"
#include "player/render/png_sequence.h"
#include "player/render/render_options.h"
#include "player/render/render_progress.h"
#include "player/render/video_encoder.h"

namespace {

using player::FrameRange;
using player::ParseRenderOptions;
using player::RenderOptions;
using player::ResolveFrameRange;

std::optional<RenderOptions> Parse(const std::vector<std::string>& args, std::string* error) {
    return ParseRenderOptions(args, error);
}

TEST(RenderOptions, DefaultsAreTheBuiltInTuneAtThirtyFramesInto1280x960) {
    std::string error;
    auto options = Parse({}, &error);
    ASSERT_TRUE(options) << error;
    EXPECT_TRUE(options->sound.empty());
    EXPECT_FALSE(options->silence);
    EXPECT_EQ(options->fps, 30);
    EXPECT_FALSE(options->frames);
    EXPECT_FALSE(options->seconds);
    EXPECT_FALSE(options->clockSeconds);
    EXPECT_EQ(options->videoWidth, 1280);
    EXPECT_EQ(options->videoHeight, 960);
    EXPECT_EQ(options->videoPreset, "ultrafast");
}

TEST(RenderOptions, EveryOptionTakesItsValueSeparateOrAfterAnEqualsSign) {
    std::string error;
    auto options =
        Parse({"song.flac", "--clock=42", "--fps", "60", "--frames=5-9", "--png-dir", "out",
               "--video=v.mp4", "--size", "640x480", "--plugin=p.so", "--preset=veryslow"},
              &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->sound, "song.flac");
    EXPECT_EQ(*options->clockSeconds, 42);
    EXPECT_EQ(options->fps, 60);
    EXPECT_EQ(options->frames->first, 5);
    EXPECT_EQ(options->frames->last, 9);
    EXPECT_EQ(options->pngDir, "out");
    EXPECT_EQ(options->videoPath, "v.mp4");
    EXPECT_EQ(options->videoWidth, 640);
    EXPECT_EQ(options->videoHeight, 480);
    EXPECT_EQ(options->pluginPath, "p.so");
    EXPECT_EQ(options->videoPreset, "veryslow");

    options = Parse({"--silence", "--seconds", "2.5", "--", "--"}, &error);
    EXPECT_FALSE(options) << "--silence with a SOUND named --";
    options = Parse({"--seconds", "2.5", "--", "-odd name.wav"}, &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->sound, "-odd name.wav");
    EXPECT_DOUBLE_EQ(*options->seconds, 2.5);
}

TEST(RenderOptions, MistakesAreRefusedWithOneLineNamingTheOption) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--loud"}, "unknown option --loud"},
        {{"--fps", "0"}, "--fps"},
        {{"--fps", "1001"}, "--fps"},
        {{"--fps", "29.97"}, "--fps"},
        {{"--frames", "0-5"}, "--frames"},
        {{"--frames", "9-5"}, "--frames"},
        {{"--frames", "5"}, "--frames"},
        {{"--frames", "-5"}, "--frames"},
        {{"--frames", "1-200000000"}, "--frames"},
        {{"--seconds", "0"}, "--seconds"},
        {{"--seconds", "nan"}, "--seconds"},
        {{"--seconds", "2s"}, "--seconds"},
        {{"--size", "641x480"}, "--size"},
        {{"--size", "1280"}, "--size"},
        {{"--size", "0x0"}, "--size"},
        {{"--clock", "soon"}, "--clock"},
        {{"--preset", "quick"}, "--preset"},
        {{"--preset", "Medium"}, "--preset"},
        {{"--png-dir"}, "--png-dir needs a value"},
        {{"a.wav", "b.wav"}, "one SOUND"},
        {{"--silence", "a.wav"}, "--silence"},
        {{"--frames", "1-2", "--seconds", "3"}, "--frames and --seconds"},
        {{"--video", "show"}, "--video FILE needs an extension"},
        {{"--video", "out.d/show."}, "--video FILE needs an extension"},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << args[0];
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(RenderRange, WithoutARangeTheWholeSoundOrOneCycleOfSilence) {
    RenderOptions options;
    // The built-in tune's 96 s at 30 fps.
    EXPECT_EQ(ResolveFrameRange(options, 96 * 44100, 44100).last, 2880);
    // A part frame at the end still gets its frame.
    EXPECT_EQ(ResolveFrameRange(options, 96 * 44100 + 1, 44100).last, 2881);
    EXPECT_EQ(ResolveFrameRange(options, 1, 8000).last, 1);
    options.fps = 25;
    EXPECT_EQ(ResolveFrameRange(options, 10 * 48000, 48000).last, 250);
    options.silence = true;
    const FrameRange cycle = ResolveFrameRange(options, 0, 0);
    EXPECT_EQ(cycle.first, 1);
    EXPECT_EQ(cycle.last, 4180);
}

TEST(RenderRange, SecondsCoverTheirFramesAndFramesAreTakenAsGiven) {
    RenderOptions options;
    options.seconds = 2.0;
    EXPECT_EQ(ResolveFrameRange(options, 44100, 44100).last, 60);
    options.seconds = 2.01;
    EXPECT_EQ(ResolveFrameRange(options, 44100, 44100).last, 61);
    options.seconds = 0.001;
    EXPECT_EQ(ResolveFrameRange(options, 44100, 44100).last, 1);
    options.seconds.reset();
    options.frames = FrameRange{61, 70};
    const FrameRange range = ResolveFrameRange(options, 44100, 44100);
    EXPECT_EQ(range.first, 61);
    EXPECT_EQ(range.last, 70);
}

TEST(RenderTimeline, FrameKStartsAtKMinusOneOverFpsExactly) {
    EXPECT_EQ(player::FrameStartSample(1, 30, 44100), 0);
    EXPECT_EQ(player::FrameStartSample(61, 30, 44100), 88200);  // 2.000 s
    EXPECT_EQ(player::FrameStartSample(60, 30, 44100), 86730);
    EXPECT_EQ(player::FrameStartSample(2, 30, 44100), 1470);
    // 1/30 s of 22050 Hz is 735 frames; of 8000 Hz, 266.67 frames, truncated.
    EXPECT_EQ(player::FrameStartSample(2, 30, 22050), 735);
    EXPECT_EQ(player::FrameStartSample(4, 30, 8000), 800);
    EXPECT_EQ(player::FrameStartSample(2, 30, 8000), 266);
    // Far into a long sound nothing overflows.
    EXPECT_EQ(player::FrameStartSample(100'000'000, 1000, 768000), (100'000'000LL - 1) * 768);
}

TEST(RenderOutput, FramesAreNamedWithSixDigits) {
    EXPECT_EQ(player::PngFrameName(1), "frame-000001.png");
    EXPECT_EQ(player::PngFrameName(4180), "frame-004180.png");
    EXPECT_EQ(player::PngFrameName(1234567), "frame-1234567.png");
}

TEST(RenderOutput, FfmpegGetsPicturesAtTheVideosSizeWithTheSoundAndTheirColourTags) {
    player::VideoSettings settings{"out/Show.MP4", "/tmp/x/sound.wav", 25, 1280, 960, "medium"};
    auto args = player::FfmpegArguments(settings);
    auto after = [&args](const std::string& option) {
        auto it = std::find(args.begin(), args.end(), option);
        return it == args.end() || it + 1 == args.end() ? std::string() : *(it + 1);
    };
    EXPECT_EQ(after("-pixel_format"), "yuv420p");
    EXPECT_EQ(after("-video_size"), "1280x960");
    EXPECT_EQ(after("-framerate"), "25");
    EXPECT_EQ(after("-vf"), "");
    EXPECT_EQ(after("-colorspace"), "bt709");
    EXPECT_EQ(after("-color_primaries"), "bt709");
    EXPECT_EQ(after("-color_trc"), "bt709");
    EXPECT_EQ(after("-color_range"), "tv");
    EXPECT_EQ(after("-c:v"), "libx264");
    EXPECT_EQ(after("-preset"), "medium");
    EXPECT_EQ(after("-pix_fmt"), "yuv420p");
    EXPECT_EQ(after("-c:a"), "aac");
    EXPECT_EQ(args.back(), "out/Show.MP4");
    EXPECT_EQ(std::count(args.begin(), args.end(), "-i"), 2);
    EXPECT_EQ(after("-i"), "pipe:0");
    EXPECT_NE(std::find(args.begin(), args.end(), "/tmp/x/sound.wav"), args.end());

    // Below 720 lines the pictures are made and tagged with the standard-definition matrix.
    settings.width = 640;
    settings.height = 480;
    args = player::FfmpegArguments(settings);
    EXPECT_EQ(after("-video_size"), "640x480");
    EXPECT_EQ(after("-colorspace"), "smpte170m");

    // Other formats are left to ffmpeg's own choice of codecs.
    settings.path = "show.webm";
    args = player::FfmpegArguments(settings);
    EXPECT_EQ(std::find(args.begin(), args.end(), "libx264"), args.end());
    EXPECT_EQ(args.back(), "show.webm");
}

TEST(RenderOutput, FindProgramLooksOnThePathOnly) {
    EXPECT_FALSE(player::FindProgram("sh").empty());
    EXPECT_EQ(player::FindProgram("tolvek-no-such-program"), "");
    EXPECT_EQ(player::FindProgram("/nonexistent/ffmpeg"), "");
}

TEST(RenderProgress, BarAndLineShowFramesSpeedAndTimeLeft) {
    EXPECT_EQ(player::FormatProgressBar(100, 400, 50.0, 8),
              "[##......]  100/400  50.0 fps  0:06 left");
    EXPECT_EQ(player::FormatProgressBar(400, 400, 50.0, 4), "[####]  400/400  50.0 fps  0:00 left");
    EXPECT_EQ(player::FormatProgressBar(0, 400, 0.0, 2), "[..]  0/400  0.0 fps  --:-- left");
    EXPECT_EQ(player::FormatProgressLine(1234, 4180, 312.44),
              "1234/4180 frames, 312.4 fps, 0:10 left");
}

// What `write` printed to a stream.
std::string Printed(const std::function<void(std::FILE*)>& write) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    write(out);
    std::fclose(out);
    std::string printed(text, size);
    std::free(text);
    return printed;
}

TEST(RenderProgress, PlainLinesComeEveryFewSecondsAndABarIsRedrawnInPlace) {
    double now = 0.0;
    auto clock = [&now] { return now; };
    const std::string plain = Printed([&](std::FILE* out) {
        player::RenderProgress lines(out, false, clock, 100);
        for (int frame = 1; frame <= 100; ++frame) {
            now = frame * 0.1;  // 10 frames a second
            lines.Update(frame);
        }
        lines.Finish(100);
    });
    // Every 5 s: at frame 50; the end is left to the summary that follows.
    EXPECT_EQ(plain, "tolvek render: 50/100 frames, 10.0 fps, 0:05 left\n");

    now = 0.0;
    const std::string terminal = Printed([&](std::FILE* out) {
        player::RenderProgress bar(out, true, clock, 10);
        now = 1.0;
        bar.Update(5);
        now = 1.05;
        bar.Update(6);  // too soon to redraw
        now = 2.0;
        bar.Finish(10);
    });
    EXPECT_EQ(terminal.rfind('\r', 0), 0u) << terminal;
    EXPECT_NE(terminal.find("5/10"), std::string::npos) << terminal;
    EXPECT_EQ(terminal.find("6/10"), std::string::npos) << terminal;
    EXPECT_NE(terminal.find("10/10  5.0 fps"), std::string::npos) << terminal;
    EXPECT_EQ(std::count(terminal.begin(), terminal.end(), '\n'), 1) << terminal;
    EXPECT_EQ(terminal.back(), '\n');
}

}  // namespace
