// The command line of `tolvek render` and the range of frames it asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/render/video_encoder.h"

namespace player {

inline constexpr int kDefaultRenderFps = 30;
inline constexpr int kMaxRenderFps = 1000;
// One whole cycle of the show: what --silence renders when no range is given.
inline constexpr int kShowCycleFrames = 4180;

// Frames are numbered from 1: frame k shows the sound at (k - 1) / fps seconds.
struct FrameRange {
    int first = 1;
    int last = 1;
};

struct RenderOptions {
    std::string sound;  // empty: the built-in tune
    bool silence = false;
    std::optional<std::int64_t> clockSeconds;
    int fps = kDefaultRenderFps;
    std::optional<FrameRange> frames;
    std::optional<double> seconds;
    std::string pngDir;
    std::string videoPath;
    int videoWidth = kDefaultVideoWidth;
    int videoHeight = kDefaultVideoHeight;
    std::string videoPreset = kDefaultVideoPreset;
    std::string pluginPath;  // empty: the installed or built plug-in
    bool help = false;
    bool version = false;
};

// Parses the arguments after `render`; on a usage error returns nothing and sets `error`.
std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                std::string* error);
std::string RenderUsageText();

// The frames to render: the range asked for, else those covering --seconds, else the whole
// sound (`soundFrames` sample frames at `sampleRate`), else one cycle of the show.
FrameRange ResolveFrameRange(const RenderOptions& options, std::int64_t soundFrames,
                             int sampleRate);

}  // namespace player
