// The command line of the frame-exact hosts: the Windows test host and the Linux frame grabber
// take the same options for the plug-in, the sound, the clock and the frame to keep.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hostkit {

enum class HostProgram {
    WindowsHost,   // tolvek-winhost.exe: shows the show, waits for the quit request
    FrameGrabber,  // tolvek-framegrab: headless, stops after the last frame
};

struct HostOptions {
    std::string pluginPath;  // empty: the plug-in beside the program
    std::string wavPath;     // empty: silence
    std::optional<std::int64_t> clockSeconds;
    int frames = 0;               // 0: until the quit request (Windows host only)
    std::vector<int> shotFrames;  // empty: the last frame
    std::string shotPath;         // empty: no frame is kept; %d stands for the frame number
    // Windows host only.
    std::string logPath;   // a copy of every line printed
    int holdSeconds = 30;  // after the last frame, how long to wait for the quit request
    bool escape = false;   // after the last frame, press Escape in the show window itself
    int timeoutSeconds = 600;
    // Frame grabber only.
    std::string pngPath;      // the kept frame also as an indexed PNG
    std::string makeWavPath;  // write the test signal here and do nothing else
    bool help = false;

    // The frames to keep, in ascending order, once the options are valid.
    std::vector<int> ShotFrames() const;
    // Where frame `frame` is kept: shotPath with its %d replaced by the number.
    std::string ShotPathFor(int frame) const;
};

// The pattern with its first %d replaced by the frame number.
std::string WithFrameNumber(const std::string& pattern, int frame);

// Parses argv[1..]; on a usage error returns nothing and sets `error` to one line.
std::optional<HostOptions> ParseHostOptions(HostProgram program,
                                            const std::vector<std::string>& args,
                                            std::string* error);
std::string HostUsage(HostProgram program);

}  // namespace hostkit
