// `tolvek render --video` through the ffmpeg program: an H.264 MP4 of the frames with the sound,
// scaled by nearest neighbour, whose pictures are the PNG frames' colours. Skipped where ffmpeg
// is not installed (scripts/install-deps installs it).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "player/render/png_sequence.h"
#include "player/render/video_encoder.h"
#include "tests/player/run_player.h"
#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

using player_testing::PlayerRun;
using player_testing::RunPlayer;
using player_testing::ScratchFolder;

// What a command printed on its standard output.
std::string Output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string text;
    if (!pipe)
        return text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        text.append(buffer, got);
    return text;
}

// "key=value" lines of ffprobe, one map per stream.
std::vector<std::map<std::string, std::string>> Streams(const std::string& path) {
    std::vector<std::map<std::string, std::string>> streams;
    const std::string text = Output(
        "ffprobe -v error -count_frames -show_entries "
        "stream=codec_type,codec_name,width,height,nb_read_frames,sample_rate,channels,"
        "duration,pix_fmt,color_space,color_range -of default=noprint_wrappers=1 '" +
        path + "'");
    for (const std::string& line : player_testing::Lines(text)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        if (key == "codec_name")
            streams.emplace_back();
        if (!streams.empty())
            streams.back()[key] = line.substr(eq + 1);
    }
    return streams;
}

class RenderVideo : public testing::Test {
  protected:
    void SetUp() override {
        if (player::FindProgram("ffmpeg").empty() || player::FindProgram("ffprobe").empty())
            GTEST_SKIP() << "ffmpeg is not installed (scripts/install-deps installs it)";
    }
};

TEST_F(RenderVideo, AnMp4OfTheFramesWithTheirSoundAt1280x960) {
    ScratchFolder scratch;
    const std::string video = scratch.Path("show.mp4");
    PlayerRun run = RunPlayer({"render", "--clock", "9", "--frames", "16-45", "--video", video,
                               "--png-dir", scratch.Path("f")},
                              {}, 300);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto streams = Streams(video);
    ASSERT_EQ(streams.size(), 2u) << Output("ffprobe -v error -show_streams '" + video + "'");
    const auto& picture = streams[0].at("codec_type") == "video" ? streams[0] : streams[1];
    const auto& sound = streams[0].at("codec_type") == "video" ? streams[1] : streams[0];
    EXPECT_EQ(picture.at("codec_name"), "h264");
    EXPECT_EQ(picture.at("width"), "1280");
    EXPECT_EQ(picture.at("height"), "960");
    EXPECT_EQ(picture.at("nb_read_frames"), "30");
    EXPECT_EQ(picture.at("pix_fmt"), "yuv420p");
    EXPECT_EQ(picture.at("color_space"), "bt709");
    EXPECT_EQ(picture.at("color_range"), "tv");
    EXPECT_EQ(sound.at("codec_name"), "aac");
    EXPECT_EQ(sound.at("sample_rate"), "44100");
    EXPECT_EQ(sound.at("channels"), "2");
    // 30 frames at 30 fps: one second of sound, give or take the encoder's last block.
    EXPECT_NEAR(std::stod(sound.at("duration")), 1.0, 0.05);

    // The first picture is frame 16 doubled, in the palette's colours (not, say, red and blue
    // swapped): compare it with the PNG, allowing for the lossy encoding.
    const std::string raw =
        Output("ffmpeg -v error -i '" + video + "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    ASSERT_EQ(raw.size(), 1280u * 960u * 3u);
    const auto png = render_testing::ReadPng(scratch.Path("f/" + player::PngFrameName(16)));
    ASSERT_EQ(png.error, "");
    double difference = 0;
    double swapped = 0;
    for (int y = 0; y < 960; ++y) {
        for (int x = 0; x < 1280; ++x) {
            const auto& colour = png.palette[png.At(x / 2, y / 2)];
            const auto* got = reinterpret_cast<const unsigned char*>(raw.data()) +
                              (static_cast<std::size_t>(y) * 1280 + x) * 3;
            for (int c = 0; c < 3; ++c) {
                difference += std::abs(got[c] - colour[static_cast<std::size_t>(c)]);
                swapped += std::abs(got[c] - colour[static_cast<std::size_t>(2 - c)]);
            }
        }
    }
    const double mean = difference / (1280.0 * 960.0 * 3.0);
    EXPECT_LT(mean, 5.0);  // about 1.9 with ultrafast at this quality
    EXPECT_LT(mean * 4, swapped / (1280.0 * 960.0 * 3.0));
}

TEST_F(RenderVideo, SizeIsChosenAndSilenceStillGivesASoundTrack) {
    ScratchFolder scratch;
    const std::string video = scratch.Path("small.mkv");
    PlayerRun run = RunPlayer({"render", "--silence", "--frames", "1-10", "--fps", "25", "--size",
                               "320x240", "--video", video},
                              {}, 300);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto streams = Streams(video);
    ASSERT_EQ(streams.size(), 2u);
    const auto& picture = streams[0].at("codec_type") == "video" ? streams[0] : streams[1];
    EXPECT_EQ(picture.at("width"), "320");
    EXPECT_EQ(picture.at("height"), "240");
    EXPECT_EQ(picture.at("color_space"), "smpte170m");
    EXPECT_EQ(picture.at("nb_read_frames"), "10");
}

// Sizes of another shape keep the show's 4:3: the frame is scaled into the largest rectangle
// that fits, centred, and the rest is black.
TEST_F(RenderVideo, OtherShapesCentreTheFrameOnBlack) {
    struct Shape {
        const char* size;
        int width;
        int height;
        int x;  // the frame's rectangle
        int y;
        int w;
        int h;
    };
    const Shape shapes[] = {{"640x360", 640, 360, 80, 0, 480, 360},   // 16:9
                            {"640x400", 640, 400, 54, 0, 532, 400},   // 16:10
                            {"840x360", 840, 360, 180, 0, 480, 360},  // 21:9
                            {"640x640", 640, 640, 0, 80, 640, 480},   // 1:1
                            {"320x240", 320, 240, 0, 0, 320, 240},    // 4:3, as before
                            {"1080p", 1920, 1080, 240, 0, 1440, 1080}};
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.size);
        ScratchFolder scratch;
        const std::string video = scratch.Path("shape.mp4");
        PlayerRun run = RunPlayer({"render", "--clock", "9", "--frames", "1-2", "--size",
                                   shape.size, "--video", video, "--png-dir", scratch.Path("f")},
                                  {}, 300);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto streams = Streams(video);
        ASSERT_EQ(streams.size(), 2u);
        const auto& picture = streams[0].at("codec_type") == "video" ? streams[0] : streams[1];
        EXPECT_EQ(picture.at("width"), std::to_string(shape.width));
        EXPECT_EQ(picture.at("height"), std::to_string(shape.height));

        const std::string raw =
            Output("ffmpeg -v error -i '" + video + "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
        ASSERT_EQ(raw.size(), static_cast<std::size_t>(shape.width) * shape.height * 3u);
        const auto png = render_testing::ReadPng(scratch.Path("f/" + player::PngFrameName(1)));
        ASSERT_EQ(png.error, "");
        double inside = 0;
        double bars = 0;
        long long barSamples = 0;
        for (int y = 0; y < shape.height; ++y) {
            for (int x = 0; x < shape.width; ++x) {
                const auto* got = reinterpret_cast<const unsigned char*>(raw.data()) +
                                  (static_cast<std::size_t>(y) * shape.width + x) * 3;
                const int fx = x - shape.x;
                const int fy = y - shape.y;
                if (fx < 0 || fy < 0 || fx >= shape.w || fy >= shape.h) {
                    bars += got[0] + got[1] + got[2];
                    barSamples += 3;
                    continue;
                }
                // The show pixel under the sample's centre.
                const auto& colour = png.palette[png.At((2 * fx + 1) * 640 / (2 * shape.w),
                                                        (2 * fy + 1) * 480 / (2 * shape.h))];
                for (int c = 0; c < 3; ++c)
                    inside += std::abs(got[c] - colour[static_cast<std::size_t>(c)]);
            }
        }
        EXPECT_LT(inside / (3.0 * shape.w * shape.h), 6.0);
        if (barSamples > 0)
            EXPECT_LT(bars / barSamples, 2.0);
        else
            EXPECT_EQ(shape.w * shape.h, shape.width * shape.height);
    }
}

}  // namespace
