// Running the player program as a child process.
#include "tests/player/run_player.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace player_testing {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

PlayerRun RunPlayer(const std::vector<std::string>& args,
                    const std::vector<std::pair<std::string, std::string>>& environment,
                    int timeoutSeconds) {
    PlayerRun run;
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvek-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return run;
    const std::string outPath = pattern + "/out";
    const std::string errPath = pattern + "/err";
    pid_t pid = fork();
    if (pid == 0) {
        setenv("TOLVEK_DISPLAY", "headless", 1);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        if (freopen(outPath.c_str(), "w", stdout) == nullptr)
            _exit(126);
        if (freopen(errPath.c_str(), "w", stderr) == nullptr)
            _exit(126);
        std::vector<std::string> all = {TOLVEK_PLAYER_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : all)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(TOLVEK_PLAYER_PATH, argv.data());
        _exit(127);
    }
    if (pid > 0) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (status != -1 && WIFEXITED(status))
            run.exitCode = WEXITSTATUS(status);
    }
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace player_testing
