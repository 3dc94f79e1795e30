// Tours with a file nobody may read, in a child without privileges when the tests run as root.
#include "tests/robustness/unreadable.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace robustness {
namespace {

constexpr uid_t kNobody = 65534;

// The child's tour, written as lines: the counts first, then what went to stderr.
void WriteTour(const TourResult& tour, const std::string& path) {
    std::ofstream out(path);
    out << tour.initResult << ' ' << tour.renders << ' ' << tour.failedRenders << ' '
        << tour.presented << ' ' << tour.quitRequested << ' ' << tour.messageBoxes.size() << ' '
        << tour.windowsLeft << ' ' << tour.displayObjectsLeft << '\n'
        << tour.errors;
}

std::optional<TourResult> ReadTour(const std::string& path) {
    std::ifstream in(path);
    TourResult tour;
    std::size_t boxes = 0;
    if (!(in >> tour.initResult >> tour.renders >> tour.failedRenders >> tour.presented >>
          tour.quitRequested >> boxes >> tour.windowsLeft >> tour.displayObjectsLeft)) {
        return std::nullopt;
    }
    in.ignore(1);
    tour.messageBoxes.resize(boxes);
    tour.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return tour;
}

}  // namespace

UnreadableTour TourWithUnreadableFile(HINSTANCE instance, const std::filesystem::path& file) {
    UnreadableTour result;
    if (chmod(file.c_str(), 0) != 0) {
        result.why = "cannot change the mode of " + file.string();
        return result;
    }
    if (geteuid() != 0) {
        result.tour = TourTheShow(instance);
        return result;
    }
    const std::string report = (std::filesystem::temp_directory_path() /
                                ("tolvek-unreadable-" + std::to_string(getpid()) + ".txt"))
                                   .string();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        result.why = "cannot start a child process";
        return result;
    }
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(3);
        const TourResult tour = TourTheShow(instance);
        WriteTour(tour, report);
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
        result.why = "running as root, and the user nobody could not be taken on";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.why = "the child touring the show did not end normally (status " +
                     std::to_string(status) + ")";
        result.tour = TourResult{};  // a crash is a failure, not a skip
    } else {
        result.tour = ReadTour(report);
        if (!result.tour)
            result.why = "the child's report could not be read";
    }
    std::remove(report.c_str());
    return result;
}

}  // namespace robustness
