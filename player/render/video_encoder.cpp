// Encoding through a pipe to ffmpeg.
#include "player/render/video_encoder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace player {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i])
            return false;
    }
    return true;
}

std::string ExitText(int status) {
    if (WIFEXITED(status))
        return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

}  // namespace

std::string FindProgram(const std::string& name) {
    auto runnable = [](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos)
        return runnable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= dirs.size()) {
        std::size_t to = dirs.find(':', from);
        if (to == std::string::npos)
            to = dirs.size();
        std::string dir = dirs.substr(from, to - from);
        std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / name;
        if (runnable(candidate))
            return candidate.string();
        from = to + 1;
    }
    return {};
}

const std::vector<std::string>& X264Presets() {
    static const std::vector<std::string> presets = {"ultrafast", "superfast", "veryfast", "faster",
                                                     "fast",      "medium",    "slow",     "slower",
                                                     "veryslow",  "placebo"};
    return presets;
}

std::vector<std::string> FfmpegArguments(const VideoSettings& settings) {
    const std::string matrix = MatrixName(MatrixForHeight(settings.height));
    std::vector<std::string> args = {
        "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
        // The pictures: raw YUV 4:2:0 on the standard input, already at the video's size.
        "-f", "rawvideo", "-pixel_format", "yuv420p", "-video_size",
        std::to_string(settings.width) + "x" + std::to_string(settings.height), "-framerate",
        std::to_string(settings.fps), "-i", "pipe:0",
        // The sound, starting with the first frame.
        "-i", settings.soundPath, "-map", "0:v:0", "-map", "1:a:0",
        // Says how the colours were made, so that players turn them back the same way.
        "-colorspace", matrix, "-color_primaries", matrix, "-color_trc", matrix, "-color_range",
        "tv"};
    const std::string& path = settings.path;
    if (EndsWith(path, ".mp4") || EndsWith(path, ".m4v") || EndsWith(path, ".mov") ||
        EndsWith(path, ".mkv")) {
        args.insert(args.end(), {"-c:v", "libx264", "-preset", settings.preset, "-crf", "18",
                                 "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "192k"});
        if (!EndsWith(path, ".mkv")) {
            args.push_back("-movflags");
            args.push_back("+faststart");
        }
    }
    // An early stop leaves the sound longer than the frames.
    args.push_back("-shortest");
    args.push_back(path);
    return args;
}

VideoEncoder::~VideoEncoder() {
    if (pipe_ >= 0)
        close(pipe_);
    if (child_ > 0) {
        int status = 0;
        while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

std::string VideoEncoder::Start(int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
    std::vector<std::string> args = FfmpegArguments(settings_);
    args.insert(args.begin(), program_);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group: Ctrl-C reaches only us, and we end the video properly.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    pid_t child = -1;
    const int result =
        posix_spawn(&child, program_.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(fds[0]);
    // A pipe that holds a whole picture takes it in one write (1.8 MB at 1280x960), not in
    // sixteen-page pieces; the system's limit for unprivileged pipes may cut it short.
    const auto bytes = static_cast<int>(static_cast<std::size_t>(settings_.width) *
                                        static_cast<std::size_t>(settings_.height) * 3 / 2);
    if (fcntl(fds[1], F_SETPIPE_SZ, bytes) < 0)
        fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    if (result != 0) {
        close(fds[1]);
        return program_ + ": cannot be started: " + std::strerror(result);
    }
    child_ = child;
    pipe_ = fds[1];
    width_ = width;
    height_ = height;
    return {};
}

std::string VideoEncoder::Write(int, const hostkit::RenderedFrame& image) {
    if (child_ < 0) {
        std::string error = Start(image.width, image.height);
        if (!error.empty())
            return error;
    }
    if (pipe_ < 0)
        return "ffmpeg is no longer taking frames";
    if (image.width != width_ || image.height != height_) {
        return "the show changed its size to " + std::to_string(image.width) + "x" +
               std::to_string(image.height) + " in the middle of the video";
    }
    if (!converter_) {
        // Another shape than the show's gets the frame centred on black, never stretched.
        converter_ = std::make_unique<YuvFrameConverter>(
            width_, height_, settings_.width, settings_.height,
            FitPicture(width_, height_, settings_.width, settings_.height));
        picture_.resize(converter_->pictureBytes());
    }
    converter_->Convert(image.pixels.data(), image.palette.data(), picture_.data());
    std::size_t done = 0;
    while (done < picture_.size()) {
        ssize_t wrote = write(pipe_, picture_.data() + done, picture_.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            close(pipe_);
            pipe_ = -1;
            return "ffmpeg stopped taking frames (" + std::string(std::strerror(errno)) +
                   "); its messages are above";
        }
        done += static_cast<std::size_t>(wrote);
    }
    return {};
}

std::string VideoEncoder::Finish() {
    if (pipe_ >= 0) {
        close(pipe_);
        pipe_ = -1;
    }
    if (child_ < 0)
        return {};
    int status = 0;
    pid_t ended = -1;
    do {
        ended = waitpid(child_, &status, 0);
    } while (ended < 0 && errno == EINTR);
    child_ = -1;
    if (ended < 0)
        return std::string("lost track of ffmpeg: ") + std::strerror(errno);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return settings_.path + ": ffmpeg failed (" + ExitText(status) +
               "); its messages are above";
    return {};
}

}  // namespace player
