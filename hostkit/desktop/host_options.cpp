// Parsing the frame-exact hosts' command line.
#include "hostkit/desktop/host_options.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace hostkit {
namespace {

template <typename Number>
bool ParseNumber(const std::string& text, Number min, Number* out) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < min)
        return false;
    *out = value;
    return true;
}

struct Option {
    bool windowsHost;
    bool frameGrabber;
    bool takesValue;
    // Stores the value; false when it is not acceptable.
    std::function<bool(HostOptions&, const std::string&)> store;
};

std::map<std::string, Option> Table() {
    auto text = [](std::string HostOptions::*field) {
        return [field](HostOptions& o, const std::string& v) {
            o.*field = v;
            return !v.empty();
        };
    };
    auto count = [](int HostOptions::*field, int min) {
        return [field, min](HostOptions& o, const std::string& v) {
            return ParseNumber(v, min, &(o.*field));
        };
    };
    return {
        {"--plugin", {true, true, true, text(&HostOptions::pluginPath)}},
        {"--wav", {true, true, true, text(&HostOptions::wavPath)}},
        {"--clock",
         {true, true, true,
          [](HostOptions& o, const std::string& v) {
              std::int64_t seconds = 0;
              if (!ParseNumber<std::int64_t>(v, 0, &seconds))
                  return false;
              o.clockSeconds = seconds;
              return true;
          }}},
        {"--frames", {true, true, true, count(&HostOptions::frames, 1)}},
        {"--shot-frame",
         {true, true, true,
          [](HostOptions& o, const std::string& v) {
              int frame = 0;
              if (!ParseNumber(v, 1, &frame))
                  return false;
              o.shotFrames.push_back(frame);
              return true;
          }}},
        {"--shot", {true, true, true, text(&HostOptions::shotPath)}},
        {"--log", {true, false, true, text(&HostOptions::logPath)}},
        {"--hold", {true, false, true, count(&HostOptions::holdSeconds, 0)}},
        {"--escape",
         {true, false, false,
          [](HostOptions& o, const std::string&) {
              o.escape = true;
              return true;
          }}},
        {"--timeout", {true, false, true, count(&HostOptions::timeoutSeconds, 1)}},
        {"--png", {false, true, true, text(&HostOptions::pngPath)}},
        {"--make-wav", {false, true, true, text(&HostOptions::makeWavPath)}},
    };
}

std::string Check(HostProgram program, const HostOptions& o) {
    if (program == HostProgram::FrameGrabber && o.makeWavPath.empty() && o.frames == 0) {
        return "--frames is needed: the frame grabber stops after the last frame";
    }
    for (int frame : o.shotFrames) {
        if (o.frames > 0 && frame > o.frames) {
            return "--shot-frame " + std::to_string(frame) + " comes after the last frame (" +
                   std::to_string(o.frames) + ")";
        }
    }
    if (!o.shotPath.empty() && o.ShotFrames().empty()) {
        return "--shot needs --frames or --shot-frame: which frame to keep";
    }
    if (o.ShotFrames().size() > 1 && o.shotPath.find("%d") == std::string::npos) {
        return "--shot needs a %d for the frame number when several frames are kept";
    }
    if (!o.pngPath.empty() && o.shotPath.empty())
        return "--png goes with --shot";
    if (o.ShotFrames().size() > 1 && !o.pngPath.empty() &&
        o.pngPath.find("%d") == std::string::npos) {
        return "--png needs a %d for the frame number when several frames are kept";
    }
    return {};
}

}  // namespace

std::vector<int> HostOptions::ShotFrames() const {
    std::vector<int> list = shotFrames;
    if (list.empty() && frames > 0)
        list.push_back(frames);
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

std::string HostOptions::ShotPathFor(int frame) const {
    return WithFrameNumber(shotPath, frame);
}

std::string WithFrameNumber(const std::string& pattern, int frame) {
    std::string path = pattern;
    if (std::size_t at = path.find("%d"); at != std::string::npos) {
        path.replace(at, 2, std::to_string(frame));
    }
    return path;
}

std::optional<HostOptions> ParseHostOptions(HostProgram program,
                                            const std::vector<std::string>& args,
                                            std::string* error) {
    const std::map<std::string, Option> table = Table();
    HostOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return options;
        }
        auto found = table.find(name);
        const bool offered = found != table.end() &&
                             (program == HostProgram::WindowsHost ? found->second.windowsHost
                                                                  : found->second.frameGrabber);
        if (!offered) {
            *error = "unknown option '" + name + "'";
            return std::nullopt;
        }
        std::string value;
        if (found->second.takesValue) {
            if (i + 1 >= args.size()) {
                *error = name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!found->second.store(options, value)) {
            *error = "bad value '" + value + "' for " + name;
            return std::nullopt;
        }
    }
    if (std::string why = Check(program, options); !why.empty()) {
        *error = why;
        return std::nullopt;
    }
    return options;
}

std::string HostUsage(HostProgram program) {
    if (program == HostProgram::WindowsHost) {
        return "Usage: tolvek-winhost.exe [options]\n"
               "Hosts vis_tolvek.dll as the media player's visualization thread does.\n"
               "  --plugin PATH     the plug-in DLL (default: vis_tolvek.dll beside this program)\n"
               "  --wav FILE        sound from a PCM WAV file (default: silence)\n"
               "  --clock SECONDS   fix the calendar time the show seeds its generator from\n"
               "  --frames N        render N frames, then wait for the quit request\n"
               "  --shot-frame N    a frame to photograph (default: the last); may be repeated\n"
               "  --shot FILE       photograph it from the screen into a 24-bit BMP; a %d in\n"
               "                    FILE stands for the frame number\n"
               "  --hold SECONDS    how long to wait for the quit request (default 30)\n"
               "  --escape          press Escape in the show window after the last frame\n"
               "  --timeout SECONDS give up and exit after this long (default 600)\n"
               "  --log FILE        also write every line to FILE\n";
    }
    return "Usage: tolvek-framegrab --frames N [options]\n"
           "Renders frames of the plug-in headless and keeps one, for comparison with the\n"
           "Windows build's frame of the same clock, sound and number.\n"
           "  --plugin PATH     the plug-in (default: plugin/vis_tolvek.so of this build)\n"
           "  --wav FILE        sound from a PCM WAV file (default: silence)\n"
           "  --clock SECONDS   fix the calendar time the show seeds its generator from\n"
           "  --frames N        render N frames\n"
           "  --shot-frame N    a frame to keep (default: the last); may be repeated\n"
           "  --shot FILE       keep it as an 8-bit BMP with its palette; a %d in FILE\n"
           "                    stands for the frame number\n"
           "  --png FILE        keep it also as an indexed PNG (%d as for --shot)\n"
           "  --make-wav FILE   write the test signal (a 16-bit stereo WAV) and stop\n";
}

}  // namespace hostkit
