// The one scaling of the Audacious views and the screensaver: every shown pixel is its source
// pixel's colour in the window's packing, at every frame and view size, and only what changed
// is scaled and told again.
#include "hostkit/scaled_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

hostkit::RenderedFrame Pattern(int width, int height) {
    hostkit::RenderedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.pixels[static_cast<std::size_t>(y * width + x)] =
                static_cast<BYTE>((x + 3 * y) % 256);
    for (int i = 0; i < 256; ++i)  // distinct per channel, so a swap shows
        frame.palette[static_cast<std::size_t>(i)] = {
            static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
    return frame;
}

// The source pixel under each shown pixel's centre, as an X server's screenshot sampled back
// to the frame's size reads it.
void ExpectScaledFrom(const std::uint32_t* pixels, int pitch, int width, int height,
                      const hostkit::RenderedFrame& frame, bool bgr = false) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = (2 * x + 1) * frame.width / (2 * width);
            const int sy = (2 * y + 1) * frame.height / (2 * height);
            const PALETTEENTRY& e =
                frame.palette[frame.pixels[static_cast<std::size_t>(sy * frame.width + sx)]];
            const std::uint32_t expected =
                bgr ? (std::uint32_t{e.peBlue} << 16) | (e.peGreen << 8) | e.peRed
                    : 0xFF000000u | (std::uint32_t{e.peRed} << 16) | (e.peGreen << 8) | e.peBlue;
            ASSERT_EQ(pixels[y * pitch + x], expected)
                << frame.width << "x" << frame.height << " shown " << width << "x" << height
                << " at " << x << "," << y;
        }
    }
}

TEST(ScaledFrame, NearestNeighbourThroughThePaletteForEveryFrameAndViewSize) {
    hostkit::ScaledFrame scaled;  // one view, kept across the frames
    // The show's frame smaller and larger, then a plug-in of another size in the same view.
    for (auto [width, height] : {std::pair{640, 480}, std::pair{320, 240}}) {
        const hostkit::RenderedFrame frame = Pattern(width, height);
        for (auto [areaWidth, areaHeight] : {std::pair{500, 300}, std::pair{1200, 900}}) {
            const hostkit::Box box = hostkit::Letterbox(areaWidth, areaHeight, width, height);
            const hostkit::Box changed = scaled.Scale(frame, width, box.width, box.height);
            EXPECT_EQ(changed, (hostkit::Box{0, 0, box.width, box.height}));
            EXPECT_TRUE(scaled.Scale(frame, width, box.width, box.height).empty())
                << "scaled twice";
            ExpectScaledFrom(scaled.pixels(), scaled.width(), box.width, box.height, frame);
        }
    }
    // Aspect kept, centred.
    EXPECT_EQ(hostkit::Letterbox(1000, 300, 640, 480), (hostkit::Box{300, 0, 400, 300}));
    EXPECT_EQ(hostkit::Letterbox(640, 1000, 640, 480), (hostkit::Box{0, 260, 640, 480}));
}

TEST(ScaledFrame, OnlyWhatChangedIsScaledAgainAndToldToBeRepainted) {
    hostkit::ScaledFrame scaled;
    hostkit::RenderedFrame frame = Pattern(640, 480);
    for (auto [width, height] : {std::pair{400, 300}, std::pair{1000, 750}}) {
        int serial = width;
        scaled.Scale(frame, serial++, width, height);
        EXPECT_TRUE(scaled.Scale(frame, serial++, width, height).empty()) << "nothing changed";
        // One pixel of the frame: only the few shown pixels around its place.
        frame.pixels[200 * 640 + 321] ^= 0x55;
        const hostkit::Box changed = scaled.Scale(frame, serial++, width, height);
        ExpectScaledFrom(scaled.pixels(), width, width, height, frame);
        const int x = 321 * width / 640, y = 200 * height / 480;
        EXPECT_LE(changed.x, x);
        EXPECT_LE(changed.y, y);
        EXPECT_GT(changed.x + changed.width, x);
        EXPECT_GT(changed.y + changed.height, y);
        EXPECT_LT(changed.width * changed.height, width * height / 50)
            << changed.width << "x" << changed.height;
        ASSERT_EQ(scaled.changed().size(), 1u);
        // A palette entry: everything.
        frame.palette[7].peGreen ^= 0xFF;
        EXPECT_EQ(scaled.Scale(frame, serial++, width, height).width, width);
        ExpectScaledFrom(scaled.pixels(), width, width, height, frame);
    }
}

TEST(ScaledFrame, IntoAnImageOfTheWindowsPackingWithWiderRows) {
    // A 24-bit visual with blue high and no alpha; an image whose rows are padded.
    hostkit::ScaledFrame scaled({0x0000FF, 0x00FF00, 0xFF0000, 0});
    hostkit::RenderedFrame frame = Pattern(640, 480);
    const int width = 900, height = 675, pitch = 912;
    std::vector<std::uint32_t> image(static_cast<std::size_t>(pitch) * height, 0xDEADBEEF);
    EXPECT_FALSE(scaled.ScaleInto(frame, 1, width, height, image.data(), pitch).empty());
    ExpectScaledFrom(image.data(), pitch, width, height, frame, true);
    for (int y = 0; y < height; ++y)
        ASSERT_EQ(image[static_cast<std::size_t>(y * pitch + width)], 0xDEADBEEF) << "padding";
    // Another image is filled whole, even for the same frame.
    std::vector<std::uint32_t> other(image.size(), 0);
    EXPECT_EQ(scaled.ScaleInto(frame, 1, width, height, other.data(), pitch).height, height);
    ExpectScaledFrom(other.data(), pitch, width, height, frame, true);
}

}  // namespace
