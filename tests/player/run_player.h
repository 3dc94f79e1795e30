// Runs the player program with arguments and extra environment, headless, and collects what it
// printed and how it ended.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace player_testing {

struct PlayerRun {
    int exitCode = -1;  // -1: did not end by itself within the time limit
    std::string out;
    std::string err;
};

PlayerRun RunPlayer(const std::vector<std::string>& args,
                    const std::vector<std::pair<std::string, std::string>>& environment,
                    int timeoutSeconds = 60);

// The lines of a text.
std::vector<std::string> Lines(const std::string& text);

}  // namespace player_testing
