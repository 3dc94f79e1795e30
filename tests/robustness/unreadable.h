// Running a tour as a user who may not read a file: as root (the CI), in a child process that has
// dropped to the unprivileged user "nobody", since root reads every file whatever its mode.
#pragma once

#include <filesystem>
#include <optional>

#include "tests/robustness/show_tour.h"

namespace robustness {

struct UnreadableTour {
    std::optional<TourResult> tour;  // empty: could not be arranged; `why` says so
    std::string why;
};

// Makes `file` unreadable (mode 000) and tours the show with `instance` as a user who cannot
// read it.
UnreadableTour TourWithUnreadableFile(HINSTANCE instance, const std::filesystem::path& file);

}  // namespace robustness
