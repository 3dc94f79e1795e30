// tolvek-framecompare: compares a photograph of the screen with a reference frame of palette
// indices, through the reference's palette, and tells which pixels show another colour.
// Exit 0 when every pixel matches, 1 when some differ, 2 when a file cannot be used.
#include <charconv>
#include <cstdio>
#include <string>

#include "hostkit/frame_compare.h"
#include "tools/framecompare/bmp_frames.h"

namespace {

constexpr const char* kUsage =
    "Usage: tolvek-framecompare REFERENCE.bmp PHOTOGRAPH.bmp [--png FILE] [--examples N]\n"
    "  REFERENCE.bmp   an 8-bit frame with its palette (tolvek-framegrab --shot)\n"
    "  PHOTOGRAPH.bmp  the screen's colours (tolvek-winhost.exe --shot)\n"
    "  --png FILE      the photograph also as a PNG, to look at\n"
    "  --examples N    how many differing pixels to list (default 10)\n"
    "  --reserved-ends compare with entries 0 and 255 black and white, as DirectDraw shows\n"
    "                  palettes made without DDPCAPS_ALLOW256\n";

int Usage(const std::string& why) {
    std::fprintf(stderr, "tolvek-framecompare: %s\n%s", why.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string files[2];
    int fileCount = 0;
    std::string pngPath;
    int examples = 10;
    bool reservedEnds = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((arg == "--png" || arg == "--examples") && i + 1 >= argc)
            return Usage(arg + " needs a value");
        if (arg == "--reserved-ends") {
            reservedEnds = true;
        } else if (arg == "--png") {
            pngPath = argv[++i];
        } else if (arg == "--examples") {
            const std::string value = argv[++i];
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), examples);
            if (ec != std::errc() || end != value.data() + value.size() || examples < 0) {
                return Usage("bad value '" + value + "' for --examples");
            }
        } else if (fileCount < 2 && !arg.starts_with("--")) {
            files[fileCount++] = arg;
        } else {
            return Usage("unexpected argument '" + arg + "'");
        }
    }
    if (fileCount != 2)
        return Usage("two files are needed");

    std::string error;
    hostkit::IndexedFrame reference;
    hostkit::RgbImage photograph;
    if (!framecompare::ReadIndexedFrame(files[0], &reference, &error) ||
        !framecompare::ReadColourImage(files[1], &photograph, &error)) {
        std::fprintf(stderr, "tolvek-framecompare: %s\n", error.c_str());
        return 2;
    }
    if (!pngPath.empty() && !framecompare::WriteColourPng(pngPath, photograph, &error)) {
        std::fprintf(stderr, "tolvek-framecompare: %s\n", error.c_str());
        return 2;
    }
    if (reservedEnds)
        hostkit::ReserveEndEntries(&reference);
    const hostkit::FrameComparison comparison =
        hostkit::CompareThroughPalette(reference, photograph, static_cast<std::size_t>(examples));
    std::fputs(hostkit::DescribeComparison(comparison).c_str(), stdout);
    return comparison.Equal() ? 0 : 1;
}
