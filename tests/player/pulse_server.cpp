// Starting and stopping the private PulseAudio server.
#include "tests/player/pulse_server.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace player_testing {

PulseServer::PulseServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvek-pulse-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        failure_ = "no scratch folder";
        return;
    }
    folder_ = pattern;
    socket_ = folder_ + "/native";
    const std::string protocol = "module-native-protocol-unix auth-anonymous=1 socket=" + socket_;
    std::vector<std::string> args = {"pulseaudio",
                                     "--daemonize=no",
                                     "--exit-idle-time=-1",
                                     "--disallow-exit",
                                     "--disable-shm=yes",
                                     "--use-pid-file=no",
                                     "--system=no",
                                     "-n",
                                     "--log-target=stderr",
                                     "--log-level=error",
                                     "-L",
                                     protocol,
                                     "-L",
                                     "module-null-sink sink_name=tolvek_test_sink"};
    pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        setenv("HOME", folder_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execvp("pulseaudio", argv.data());
        _exit(127);
    }
    if (pid < 0) {
        failure_ = "cannot start a process";
        return;
    }
    pid_ = pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            failure_ = WIFEXITED(status) && WEXITSTATUS(status) == 127
                           ? "the pulseaudio program is not installed"
                           : "pulseaudio exited at once";
            return;
        }
        struct stat info {};
        if (stat(socket_.c_str(), &info) == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    failure_ = "pulseaudio opened no socket within 10 s";
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

PulseServer::~PulseServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

}  // namespace player_testing
