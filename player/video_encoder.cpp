// Encoding through a pipe to ffmpeg.
#include "player/video_encoder.h"

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

void ConvertToRgb24(const BYTE* pixels, std::size_t count, const PALETTEENTRY* palette,
                    unsigned char* rgb) {
    // Half the render's own time went here: the table is built once a frame and every pixel is
    // one lookup and one four-byte store, whose fourth byte the next pixel overwrites.
    std::uint32_t packed[256];
    for (int i = 0; i < 256; ++i) {
        const unsigned char bytes[4] = {palette[i].peRed, palette[i].peGreen, palette[i].peBlue, 0};
        std::memcpy(&packed[i], bytes, sizeof bytes);
    }
    std::size_t i = 0;
    for (; i + 1 < count; ++i)
        std::memcpy(rgb + 3 * i, &packed[pixels[i]], 4);
    if (i < count)
        std::memcpy(rgb + 3 * i, &packed[pixels[i]], 3);
}

std::vector<std::string> FfmpegArguments(const VideoSettings& settings, int frameWidth,
                                         int frameHeight) {
    std::vector<std::string> args = {
        "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
        // The frames: raw RGB on the standard input at the show's size.
        "-f", "rawvideo", "-pixel_format", "rgb24", "-video_size",
        std::to_string(frameWidth) + "x" + std::to_string(frameHeight), "-framerate",
        std::to_string(settings.fps), "-i", "pipe:0",
        // The sound, starting with the first frame.
        "-i", settings.soundPath, "-map", "0:v:0", "-map", "1:a:0",
        // Nearest neighbour keeps the show's hard pixels.
        "-vf",
        "scale=" + std::to_string(settings.width) + ":" + std::to_string(settings.height) +
            ":flags=neighbor"};
    const std::string& path = settings.path;
    if (EndsWith(path, ".mp4") || EndsWith(path, ".m4v") || EndsWith(path, ".mov") ||
        EndsWith(path, ".mkv")) {
        for (const char* arg : {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt",
                                "yuv420p", "-c:a", "aac", "-b:a", "192k"}) {
            args.push_back(arg);
        }
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
    std::vector<std::string> args = FfmpegArguments(settings_, width, height);
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
    // A frame is 900 KB: a pipe that holds one whole frame takes it in one write, not fifteen.
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

std::string VideoEncoder::Write(int, const RenderedFrame& image) {
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
    rgb_.resize(image.pixels.size() * 3);
    ConvertToRgb24(image.pixels.data(), image.pixels.size(), image.palette.data(), rgb_.data());
    std::size_t done = 0;
    while (done < rgb_.size()) {
        ssize_t wrote = write(pipe_, rgb_.data() + done, rgb_.size() - done);
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
