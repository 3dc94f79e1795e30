// `tolvek render`: the show rendered offline, headless, to PNG frames and/or a video.
#pragma once

#include <string>
#include <vector>

namespace player {

// Runs `tolvek render` with the arguments after `render`; returns the exit status: 0, 1 for
// an error (one line), 2 for a usage error, 128 + the signal when Ctrl-C or SIGTERM stopped it.
int RunRender(const std::vector<std::string>& args, const std::string& versionText);

}  // namespace player
