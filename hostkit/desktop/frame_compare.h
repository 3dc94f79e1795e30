// Comparing a screenshot with a reference frame through the reference's palette: which pixels
// show another colour, and whether that colour is another palette entry's or no entry's.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "hostkit/desktop/frame_image.h"

namespace hostkit {

struct PixelDifference {
    int x = 0;
    int y = 0;
    int index = 0;        // the reference's palette index there
    Rgb expected;         // that entry's colour
    Rgb actual;           // the screenshot's colour
    int shownIndex = -1;  // lowest palette entry with the screenshot's colour, -1 when none
};

// Every differing pixel of one reference index, counted, with the first one seen.
struct IndexDifference {
    int index = 0;
    long long pixels = 0;
    PixelDifference first;
};

struct FrameComparison {
    bool sizesMatch = false;
    long long pixels = 0;
    long long differing = 0;
    std::vector<PixelDifference> examples;  // the first differing pixels in reading order
    std::vector<IndexDifference> byIndex;   // ascending index
    bool Equal() const { return sizesMatch && differing == 0; }
};

// The frame as DirectDraw shows it when its palette was made without DDPCAPS_ALLOW256, as the
// show makes every palette: entry 0 black and entry 255 white, whatever the picture said.
void ReserveEndEntries(IndexedFrame* frame);

FrameComparison CompareThroughPalette(const IndexedFrame& reference, const RgbImage& shot,
                                      std::size_t exampleCount = 10);

// A few lines for a person: the verdict, then the differing indices and example pixels.
std::string DescribeComparison(const FrameComparison& comparison);

}  // namespace hostkit
