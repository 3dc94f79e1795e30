// The soak: the built plug-in rendered headless for millions of frames with a changing sound,
// reporting resident memory and open files along the way and a checksum of every Kth frame,
// which a second run compares against (--expect) to show the show stays deterministic.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "bench/soak/soak_sound.h"
#include "hostkit/desktop/plugin_library.h"
#include "platform/host_services.h"
#include "tests/support/host_window.h"
#include "tests/support/process_usage.h"

namespace {

struct Options {
    std::int64_t frames = 2000000;
    std::int64_t every = 10000;
    std::string plugin = TOLVEK_SOAK_PLUGIN;
    std::string out;
    std::string expect;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            options.frames = std::stoll(argv[++i]);
        } else if (arg == "--every" && hasValue) {
            options.every = std::stoll(argv[++i]);
        } else if (arg == "--plugin" && hasValue) {
            options.plugin = argv[++i];
        } else if (arg == "--out" && hasValue) {
            options.out = argv[++i];
        } else if (arg == "--expect" && hasValue) {
            options.expect = argv[++i];
        } else {
            std::fprintf(stderr,
                         "usage: tolvek_soak [--frames N] [--every K] [--plugin PATH] "
                         "[--out FILE] [--expect FILE]\n");
            return false;
        }
    }
    return options.frames > 0 && options.every > 0;
}

using testing_support::OpenFiles;
using testing_support::StatusKb;

// FNV-1a over the frame's indices and its palette's colours.
std::uint64_t Checksum(const platform::PresentedFrame& frame) {
    std::uint64_t hash = 1469598103934665603ULL;
    auto mix = [&hash](const BYTE* bytes, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ULL;
        }
    };
    for (int y = 0; y < frame.height; ++y)
        mix(frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.pitch, frame.width);
    for (int i = 0; i < 256; ++i) {
        const BYTE rgb[3] = {frame.palette[i].peRed, frame.palette[i].peGreen,
                             frame.palette[i].peBlue};
        mix(rgb, 3);
    }
    return hash;
}

std::map<std::int64_t, std::uint64_t> ReadChecksums(const std::string& path) {
    std::map<std::int64_t, std::uint64_t> sums;
    std::ifstream in(path);
    long long frame = 0;
    unsigned long long sum = 0;
    std::string hex;
    while (in >> frame >> hex) {
        sum = std::stoull(hex, nullptr, 16);
        sums[frame] = sum;
    }
    return sums;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options))
        return 2;
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(1000000000);

    hostkit::PluginLibrary library;
    std::string error;
    if (!library.Load(options.plugin, &error)) {
        std::fprintf(stderr, "tolvek_soak: %s\n", error.c_str());
        return 1;
    }
    const std::map<std::int64_t, std::uint64_t> expected =
        options.expect.empty() ? std::map<std::int64_t, std::uint64_t>{}
                               : ReadChecksums(options.expect);
    if (!options.expect.empty() && expected.empty()) {
        std::fprintf(stderr, "tolvek_soak: no checksums in %s\n", options.expect.c_str());
        return 1;
    }
    std::FILE* out = options.out.empty() ? nullptr : std::fopen(options.out.c_str(), "w");

    bool wanted = false;
    std::uint64_t lastSum = 0;
    platform::ObserverHandle presents = platform::AddPresentObserver([&](const platform::PresentedFrame& frame) {
        if (wanted)
            lastSum = Checksum(frame);
    });

    HWND parent = testing_support::OpenHostWindow("SoakHost");
    winampVisModule* module = library.module();
    testing_support::PrepareModule(module, parent, library.instance());
    if (module->Init(module) != 0) {
        std::fprintf(stderr, "tolvek_soak: Init failed\n");
        return 1;
    }

    const auto started = std::chrono::steady_clock::now();
    long firstRss = -1, firstPeak = -1, firstFiles = -1;
    int mismatches = 0;
    int compared = 0;
    bool quit = false;
    for (std::int64_t frame = 1; frame <= options.frames && !quit; ++frame) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageA(&message);
        }
        soak::FillSoakWaveform(frame, *module);
        wanted = frame % options.every == 0;
        if (module->Render(module) != 0) {
            std::fprintf(stderr, "tolvek_soak: Render asked to stop at frame %lld\n",
                         static_cast<long long>(frame));
            break;
        }
        if (!wanted)
            continue;
        if (out != nullptr)
            std::fprintf(out, "%lld %016llx\n", static_cast<long long>(frame),
                         static_cast<unsigned long long>(lastSum));
        if (auto it = expected.find(frame); it != expected.end()) {
            ++compared;
            if (it->second != lastSum) {
                if (mismatches++ < 10)
                    std::fprintf(stderr, "frame %lld: checksum %016llx, fresh run had %016llx\n",
                                 static_cast<long long>(frame),
                                 static_cast<unsigned long long>(lastSum),
                                 static_cast<unsigned long long>(it->second));
            }
        }
        const long rss = StatusKb("VmRSS");
        const long peak = StatusKb("VmHWM");
        const long files = OpenFiles();
        if (firstRss < 0) {
            firstRss = rss, firstPeak = peak, firstFiles = files;
        }
        if (frame % (options.every * 10) == 0 || frame == options.frames) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::printf("frame %9lld  rss %7ld kB  peak %7ld kB  open files %ld  %.0f frames/s\n",
                        static_cast<long long>(frame), rss, peak, files, frame / seconds);
            std::fflush(stdout);
        }
    }
    module->Quit(module);
    testing_support::CloseHostWindow(parent, "SoakHost");
    presents.Reset();
    if (out != nullptr)
        std::fclose(out);

    const long endRss = StatusKb("VmRSS");
    const long endPeak = StatusKb("VmHWM");
    std::printf("start (after %lld frames): rss %ld kB, peak %ld kB, open files %ld\n",
                static_cast<long long>(options.every), firstRss, firstPeak, firstFiles);
    std::printf("end   (after Quit):        rss %ld kB, peak %ld kB, open files %ld\n", endRss,
                endPeak, OpenFiles());
    if (!options.expect.empty()) {
        std::printf("checksums compared with %s: %d, mismatches: %d\n", options.expect.c_str(),
                    compared, mismatches);
    }
    if (quit) {
        std::fprintf(stderr, "tolvek_soak: the show asked to quit\n");
        return 1;
    }
    return mismatches == 0 ? 0 : 1;
}
