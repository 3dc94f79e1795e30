// Frames piped to the ffmpeg program as raw YUV 4:2:0 pictures at the video's size, with a sound
// file muxed in: a video file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "player/render/frame_sink.h"
#include "player/render/yuv_frame.h"

namespace player {

// The full path of `name` found on PATH, or an empty string.
std::string FindProgram(const std::string& name);

// Twice the show's size, so that every chroma sample lies over one show pixel.
inline constexpr int kDefaultVideoWidth = 1280;
inline constexpr int kDefaultVideoHeight = 960;
// x264's fastest preset keeps rendering well ahead of real time on a small machine; slower ones
// make smaller files.
inline constexpr const char* kDefaultVideoPreset = "ultrafast";

struct VideoSettings {
    std::string path;       // what to write; its extension chooses the container
    std::string soundPath;  // a sound file starting at the first frame written
    int fps = 30;
    int width = kDefaultVideoWidth;  // scaled to by nearest neighbour
    int height = kDefaultVideoHeight;
    std::string preset = kDefaultVideoPreset;  // x264's, for H.264 files
};

// x264's presets, fastest first.
const std::vector<std::string>& X264Presets();

// ffmpeg's arguments after the program name, for pictures of the video's size on its input.
std::vector<std::string> FfmpegArguments(const VideoSettings& settings);

class VideoEncoder : public FrameSink {
  public:
    explicit VideoEncoder(VideoSettings settings) : settings_(std::move(settings)) {}
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // `ffmpeg` is the program's path; it starts with the first frame, whose size it takes.
    void SetProgram(std::string ffmpeg) { program_ = std::move(ffmpeg); }
    std::string Write(int frame, const hostkit::RenderedFrame& image) override;
    // Closes the pipe and waits for ffmpeg to complete the file.
    std::string Finish() override;

  private:
    std::string Start(int width, int height);

    VideoSettings settings_;
    std::string program_ = "ffmpeg";
    int width_ = 0;  // of the frames piped
    int height_ = 0;
    int pipe_ = -1;
    int child_ = -1;  // ffmpeg's process id
    std::unique_ptr<YuvFrameConverter> converter_;
    std::vector<std::uint8_t> picture_;
};

}  // namespace player
