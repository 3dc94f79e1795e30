// The comparison through the palette and its report.
#include "hostkit/desktop/frame_compare.h"

#include <cstdio>
#include <map>

namespace hostkit {
namespace {

int LowestEntryWith(const IndexedFrame& frame, Rgb colour) {
    for (int i = 0; i < 256; ++i) {
        if (frame.palette[static_cast<std::size_t>(i)] == colour)
            return i;
    }
    return -1;
}

std::string Colour(Rgb c) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", c.red, c.green, c.blue);
    return text;
}

std::string Pixel(const PixelDifference& d) {
    char text[160];
    std::snprintf(text, sizeof text, "(%d,%d): index %d should be %s, shows %s", d.x, d.y, d.index,
                  Colour(d.expected).c_str(), Colour(d.actual).c_str());
    std::string line = text;
    if (d.shownIndex >= 0) {
        line += ", the colour of entry " + std::to_string(d.shownIndex);
    } else {
        line += ", a colour of no entry";
    }
    return line;
}

}  // namespace

void ReserveEndEntries(IndexedFrame* frame) {
    frame->palette[0] = {0, 0, 0};
    frame->palette[255] = {255, 255, 255};
}

FrameComparison CompareThroughPalette(const IndexedFrame& reference, const RgbImage& shot,
                                      std::size_t exampleCount) {
    FrameComparison result;
    result.sizesMatch = reference.width == shot.width && reference.height == shot.height &&
                        reference.indices.size() == shot.pixels.size();
    if (!result.sizesMatch)
        return result;
    std::map<int, IndexDifference> byIndex;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            ++result.pixels;
            const int index = reference.indices[static_cast<std::size_t>(y) * reference.width + x];
            const Rgb expected = reference.palette[static_cast<std::size_t>(index)];
            const Rgb actual = shot.At(x, y);
            if (expected == actual)
                continue;
            ++result.differing;
            PixelDifference d{x, y, index, expected, actual, LowestEntryWith(reference, actual)};
            if (result.examples.size() < exampleCount)
                result.examples.push_back(d);
            IndexDifference& group = byIndex[index];
            if (group.pixels++ == 0) {
                group.index = index;
                group.first = d;
            }
        }
    }
    for (const auto& [index, group] : byIndex)
        result.byIndex.push_back(group);
    return result;
}

std::string DescribeComparison(const FrameComparison& c) {
    if (!c.sizesMatch)
        return "the two frames differ in size\n";
    char head[160];
    std::snprintf(head, sizeof head, "%lld of %lld pixels differ in colour\n", c.differing,
                  c.pixels);
    std::string text = head;
    if (c.differing == 0)
        return text;
    text += "by palette index of the reference:\n";
    for (const IndexDifference& group : c.byIndex) {
        text += "  index " + std::to_string(group.index) + ": " + std::to_string(group.pixels) +
                " pixels, first at " + Pixel(group.first) + "\n";
    }
    text += "first differing pixels:\n";
    for (const PixelDifference& d : c.examples)
        text += "  " + Pixel(d) + "\n";
    return text;
}

}  // namespace hostkit
