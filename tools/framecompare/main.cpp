// tolvek-framecompare: compares a photograph of the screen with a reference frame of palette
// indices, through the reference's palette, and tells which pixels show another colour.
// Exit 0 when every pixel matches, 1 when some differ, 2 when a file cannot be used.
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "hostkit/desktop/frame_compare.h"
#include "tools/framecompare/bmp_frames.h"

namespace {

constexpr const char* kUsage =
    "Usage: tolvek-framecompare REFERENCE.bmp PHOTOGRAPH.bmp [--png FILE] [--examples N]\n"
    "  REFERENCE.bmp   an 8-bit frame with its palette (tolvek-framegrab --shot)\n"
    "  PHOTOGRAPH.bmp  the screen's colours (tolvek-winhost.exe --shot)\n"
    "  --png FILE      the photograph also as a PNG, to look at\n"
    "  --examples N    how many differing pixels to list (default 10)\n"
    "  --reserved-ends compare with entries 0 and 255 black and white, as DirectDraw shows\n"
    "                  palettes made without DDPCAPS_ALLOW256\n"
    "  --ignore-box X0,Y0,X1,Y1  leave the pixels from (X0,Y0) up to, not including,\n"
    "                  (X1,Y1) out of the verdict (a copy the display resamples its own\n"
    "                  way), and say how many of them differ\n";

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

bool ParseBox(const std::string& text, Box* box) {
    int values[4];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int k = 0; k < 4; ++k) {
        auto [next, ec] = std::from_chars(at, end, values[k]);
        if (ec != std::errc() || values[k] < 0 || (k < 3 && (next == end || *next != ',')))
            return false;
        at = k < 3 ? next + 1 : next;
    }
    *box = {values[0], values[1], values[2], values[3]};
    return at == end && box->x0 < box->x1 && box->y0 < box->y1;
}

// Counts the box's differing pixels, then gives them the reference's colour so the verdict is
// about the rest of the frame.
struct BoxCount {
    long long pixels = 0;
    long long differing = 0;
};

BoxCount SetBoxAside(const hostkit::IndexedFrame& reference, const Box& box,
                     hostkit::RgbImage* photograph) {
    BoxCount count;
    if (photograph->width != reference.width || photograph->height != reference.height)
        return count;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            if (!box.Contains(x, y))
                continue;
            ++count.pixels;
            const std::size_t at = static_cast<std::size_t>(y) * reference.width + x;
            const hostkit::Rgb expected = reference.palette[reference.indices[at]];
            if (photograph->pixels[at] != expected) {
                ++count.differing;
                photograph->pixels[at] = expected;
            }
        }
    }
    return count;
}

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
    std::vector<Box> boxes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((arg == "--png" || arg == "--examples" || arg == "--ignore-box") && i + 1 >= argc)
            return Usage(arg + " needs a value");
        if (arg == "--reserved-ends") {
            reservedEnds = true;
        } else if (arg == "--ignore-box") {
            const std::string value = argv[++i];
            if (!ParseBox(value, &boxes.emplace_back()))
                return Usage("bad value '" + value + "' for --ignore-box (X0,Y0,X1,Y1)");
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
    for (const Box& box : boxes) {
        const BoxCount count = SetBoxAside(reference, box, &photograph);
        std::printf("box (%d,%d)-(%d,%d) left out: %lld of its %lld pixels differ\n", box.x0,
                    box.y0, box.x1, box.y1, count.differing, count.pixels);
    }
    const hostkit::FrameComparison comparison =
        hostkit::CompareThroughPalette(reference, photograph, static_cast<std::size_t>(examples));
    std::fputs(hostkit::DescribeComparison(comparison).c_str(), stdout);
    return comparison.Equal() ? 0 : 1;
}
