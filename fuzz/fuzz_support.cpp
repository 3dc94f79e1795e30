// The fuzz targets' shared display, scratch file and quiet diagnostics.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "tests/support/headless_display.h"

namespace fuzzing {

Screen& FuzzScreen() {
    static auto* display = new testing_support::HeadlessDisplay();
    return display->screen();
}

namespace {

// One file per process, so parallel jobs do not share it; removed when the run ends.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        std::random_device random;
        path = (std::filesystem::temp_directory_path() /
                ("tolvek-fuzz-" + std::to_string(random()) + ".bin"))
                   .string();
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

}  // namespace

const std::string& WriteScratchFile(const std::uint8_t* data, std::size_t size) {
    static ScratchFile scratch;
    std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        Fail("cannot write the scratch file");
    return scratch.path;
}

void QuietDiagnostics() {
    if (std::getenv("TOLVEK_FUZZ_VERBOSE") != nullptr)
        return;
    if (std::FILE* null = std::fopen("/dev/null", "w"))
        stderr = null;
}

void Fail(const char* what) {
    std::fprintf(stdout, "invariant broken: %s\n", what);
    std::fflush(stdout);
    std::abort();
}

}  // namespace fuzzing
