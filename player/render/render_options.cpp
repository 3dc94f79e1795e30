// Parsing `tolvek render`'s command line, GNU style.
#include "player/render/render_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "hostkit/command_line.h"
#include "player/render/video_encoder.h"

namespace player {

using hostkit::IsOption;
using hostkit::OptionValue;
using hostkit::ParseClockSeconds;

namespace {

// Frame numbers stay far from overflow in every product with the sample rate.
constexpr long long kMaxFrame = 100'000'000;
constexpr int kMaxVideoSide = 8192;

std::optional<long long> WholeNumber(const std::string& text) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE)
        return std::nullopt;
    return value;
}

std::optional<FrameRange> ParseFrames(const std::string& text) {
    const auto dash = text.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    auto first = WholeNumber(text.substr(0, dash));
    auto last = WholeNumber(text.substr(dash + 1));
    if (!first || !last || *first < 1 || *last < *first || *last > kMaxFrame)
        return std::nullopt;
    return FrameRange{static_cast<int>(*first), static_cast<int>(*last)};
}

bool ParseSize(const std::string& text, int* width, int* height) {
    // The sizes video sites name, 16:9; the show keeps its shape inside them.
    static const struct {
        const char* name;
        int width;
        int height;
    } kNamed[] = {{"720p", 1280, 720},
                  {"1080p", 1920, 1080},
                  {"1440p", 2560, 1440},
                  {"4k", 3840, 2160},
                  {"2160p", 3840, 2160}};
    for (const auto& named : kNamed) {
        if (text == named.name) {
            *width = named.width;
            *height = named.height;
            return true;
        }
    }
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    auto w = WholeNumber(text.substr(0, x));
    auto h = WholeNumber(text.substr(x + 1));
    auto fits = [](long long side) { return side >= 2 && side <= kMaxVideoSide && side % 2 == 0; };
    if (!w || !h || !fits(*w) || !fits(*h))
        return false;
    *width = static_cast<int>(*w);
    *height = static_cast<int>(*h);
    return true;
}

}  // namespace

std::string RenderUsageText() {
    return "Usage: tolvek render [SOUND] [OPTION]...\n"
           "Renders the Quenari Tolvek show for SOUND (or the built-in tune) without a display\n"
           "or a sound device, as fast as the machine allows, to indexed PNG frames and/or a\n"
           "video. Frame k shows the sound at (k - 1) / fps seconds. A folder or playlist as\n"
           "SOUND renders its files one after the other, as one video.\n"
           "\n"
           "  --silence          show silence instead of a sound (one cycle, 4180 frames)\n"
           "  --clock SECONDS    fix the calendar time the show seeds its random numbers from;\n"
           "                     the same sound, clock, fps and range give the same frames\n"
           "  --fps N            frames per second of sound (default 30)\n"
           "  --frames FIRST-LAST  render frames 1 to LAST and keep FIRST to LAST\n"
           "  --seconds S        render the frames covering the first S seconds\n"
           "                     (default: the whole sound)\n"
           "  --png-dir DIR      write each kept frame as DIR/frame-000001.png (8-bit indexed)\n"
           "  --video FILE       write a video with the sound through ffmpeg (H.264 for .mp4)\n"
           "  --size WxH         the video's size (default 1280x960), or 720p, 1080p, 1440p, 4k;\n"
           "                     the show is scaled by nearest neighbour to the largest 4:3\n"
           "                     picture that fits, centred on black\n"
           "  --preset NAME      x264's speed for .mp4, .m4v, .mov and .mkv: ultrafast (default,\n"
           "                     well ahead of real time), superfast, veryfast, faster, fast,\n"
           "                     medium, slow, slower, veryslow, placebo (slower, smaller files)\n"
           "  --plugin PATH      render this visualization plug-in instead of vis_tolvek.so\n"
           "  --help             print this help and exit\n"
           "\n"
           "Ctrl-C stops early and keeps what was written.\n";
}

std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                std::string* error) {
    RenderOptions options;
    bool onlySound = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto is = [&](const std::string& name) { return IsOption(arg, name); };
        auto value = [&](const std::string& name) { return OptionValue(args, &i, name, error); };
        auto bad = [&](const std::string& name, const std::string& text, const std::string& want) {
            *error = name + " takes " + want + ", not '" + text + "'";
            return std::nullopt;
        };
        if (onlySound || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!options.sound.empty()) {
                *error = "one SOUND at a time ('" + options.sound + "' and '" + arg + "')";
                return std::nullopt;
            }
            options.sound = arg;
        } else if (arg == "--") {
            onlySound = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--silence") {
            options.silence = true;
        } else if (is("--clock")) {
            auto text = value("--clock");
            if (!text)
                return std::nullopt;
            options.clockSeconds = ParseClockSeconds(*text);
            if (!options.clockSeconds)
                return bad("--clock", *text, "whole seconds");
        } else if (is("--fps")) {
            auto text = value("--fps");
            if (!text)
                return std::nullopt;
            auto fps = WholeNumber(*text);
            if (!fps || *fps < 1 || *fps > kMaxRenderFps)
                return bad("--fps", *text, "a whole number from 1 to 1000");
            options.fps = static_cast<int>(*fps);
        } else if (is("--frames")) {
            auto text = value("--frames");
            if (!text)
                return std::nullopt;
            options.frames = ParseFrames(*text);
            if (!options.frames)
                return bad("--frames", *text, "FIRST-LAST with 1 <= FIRST <= LAST");
        } else if (is("--seconds")) {
            auto text = value("--seconds");
            if (!text)
                return std::nullopt;
            char* end = nullptr;
            double seconds = std::strtod(text->c_str(), &end);
            if (text->empty() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0.0 ||
                seconds > 1e6) {
                return bad("--seconds", *text, "a length in seconds above 0");
            }
            options.seconds = seconds;
        } else if (is("--png-dir")) {
            auto text = value("--png-dir");
            if (!text)
                return std::nullopt;
            options.pngDir = *text;
        } else if (is("--video")) {
            auto text = value("--video");
            if (!text)
                return std::nullopt;
            options.videoPath = *text;
        } else if (is("--size")) {
            auto text = value("--size");
            if (!text)
                return std::nullopt;
            if (!ParseSize(*text, &options.videoWidth, &options.videoHeight))
                return bad("--size", *text,
                           "WIDTHxHEIGHT, even numbers from 2 to 8192, or 720p, 1080p, 1440p, 4k");
        } else if (is("--preset")) {
            auto text = value("--preset");
            if (!text)
                return std::nullopt;
            const auto& presets = X264Presets();
            if (std::find(presets.begin(), presets.end(), *text) == presets.end())
                return bad("--preset", *text, "one of x264's presets, ultrafast to placebo");
            options.videoPreset = *text;
        } else if (is("--plugin")) {
            auto text = value("--plugin");
            if (!text)
                return std::nullopt;
            options.pluginPath = *text;
        } else {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (options.silence && !options.sound.empty()) {
        *error = "--silence shows no sound; it takes no SOUND";
        return std::nullopt;
    }
    if (!options.videoPath.empty() &&
        std::filesystem::path(options.videoPath).extension().string().size() < 2) {
        *error = "--video FILE needs an extension naming the format, such as .mp4";
        return std::nullopt;
    }
    if (options.frames && options.seconds) {
        *error = "--frames and --seconds both choose the range; give one";
        return std::nullopt;
    }
    if (options.seconds && *options.seconds * options.fps > kMaxFrame) {
        *error = "--seconds asks for more than 100000000 frames";
        return std::nullopt;
    }
    return options;
}

FrameRange ResolveFrameRange(const RenderOptions& options, std::int64_t soundFrames,
                             int sampleRate) {
    if (options.frames)
        return *options.frames;
    double seconds = 0.0;
    if (options.seconds) {
        seconds = *options.seconds;
    } else if (options.silence || sampleRate <= 0) {
        return FrameRange{1, kShowCycleFrames};
    } else {
        // Every frame whose moment lies inside the sound: ceil(frames * fps / rate).
        std::int64_t last = (soundFrames * options.fps + sampleRate - 1) / sampleRate;
        return FrameRange{1, static_cast<int>(std::clamp<std::int64_t>(last, 1, kMaxFrame))};
    }
    // A hair below the exact product so that 2 s at 30 fps is 60 frames, not 61.
    auto last = static_cast<long long>(std::ceil(seconds * options.fps - 1e-6));
    return FrameRange{1, static_cast<int>(std::clamp<long long>(last, 1, kMaxFrame))};
}

}  // namespace player
