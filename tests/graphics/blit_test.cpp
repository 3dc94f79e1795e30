// Fills, copies, colour keys and clipped copies between surfaces.
#include <gtest/gtest.h>

#include "graphics/screen.h"
#include "platform/host_services.h"
#include "tests/support/headless_display.h"

namespace {

using testing_support::HeadlessDisplay;
using testing_support::PixelAt;
using testing_support::ReadPixels;

// A 32x32 surface whose pixel (x, y) holds x + 1, with column 5 set to the key 0.
void PaintSource(Surface& source) {
    source.Lock();
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) source.PutPixel(x, y, x == 5 ? 0 : x + 1);
    }
    source.Unlock();
}

class Blit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(source.Create(&display.screen(), 32, 32), 1);
        PaintSource(source);
        display.screen().Clear(200);
    }
    HeadlessDisplay display;
    Surface source;
    Surface& back() { return *display.screen().backBuffer; }
};

TEST_F(Blit, FreshSurfaceHasNoKeyAndWholeRectangles) {
    EXPECT_EQ(source.colorKey, -1);
    EXPECT_EQ(source.srcRect.right, 32);
    EXPECT_EQ(source.dstRect.bottom, 32);
    EXPECT_EQ(source.SetColorKey(0), DD_OK);
    EXPECT_EQ(source.colorKey, 0);
}

TEST_F(Blit, FillCoversEveryPixelOfEveryRow) {
    ASSERT_EQ(source.Fill(77), DD_OK);
    for (unsigned char p : ReadPixels(source)) ASSERT_EQ(p, 77);
}

TEST_F(Blit, ClearHonoursThePitch) {
    ASSERT_EQ(display.screen().Clear(255), DD_OK);
    back().Lock();
    EXPECT_GT(back().desc.lPitch, 640);
    EXPECT_EQ(back().desc.dwWidth, 640u);
    EXPECT_EQ(back().desc.dwHeight, 480u);
    back().Unlock();
    auto pixels = ReadPixels(back());
    ASSERT_EQ(pixels.size(), 640u * 480u);
    for (unsigned char p : pixels) ASSERT_EQ(p, 255);
}

TEST_F(Blit, UnscaledCopyAndKeyedCopy) {
    ASSERT_EQ(source.DrawAt(100, 50, &back()), DD_OK);
    EXPECT_EQ(PixelAt(back(), 100, 50), 1);
    EXPECT_EQ(PixelAt(back(), 105, 50), 0);
    EXPECT_EQ(PixelAt(back(), 131, 81), 32);
    EXPECT_EQ(PixelAt(back(), 132, 50), 200);
    source.SetColorKey(0);
    ASSERT_EQ(source.DrawKeyedAt(300, 50, &back()), DD_OK);
    EXPECT_EQ(PixelAt(back(), 305, 50), 200);  // the key leaves the target alone
    EXPECT_EQ(PixelAt(back(), 306, 50), 7);
}

TEST_F(Blit, StretchedCopyUsesNearestNeighbour) {
    source.dstRect = RECT{0, 0, 64, 64};
    ASSERT_EQ(source.Draw(&back()), DD_OK);
    EXPECT_EQ(PixelAt(back(), 0, 0), 1);
    EXPECT_EQ(PixelAt(back(), 1, 1), 1);
    EXPECT_EQ(PixelAt(back(), 2, 0), 2);
    EXPECT_EQ(PixelAt(back(), 63, 63), 32);
    EXPECT_EQ(PixelAt(back(), 64, 0), 200);
}

TEST_F(Blit, RectanglesLeavingTheTargetAreRefusedAndDrawNothing) {
    EXPECT_EQ(source.DrawAt(620, 0, &back()), DDERR_INVALIDRECT);
    EXPECT_EQ(source.DrawAt(-1, 0, &back()), DDERR_INVALIDRECT);
    source.dstRect = RECT{320, 240, 320, 240};  // empty
    EXPECT_EQ(source.Draw(&back()), DDERR_INVALIDRECT);
    source.dstRect = RECT{600, 0, 700, 100};
    EXPECT_EQ(source.Draw(&back()), DDERR_INVALIDRECT);
    source.srcRect = RECT{0, 0, 33, 32};  // outside the source
    EXPECT_EQ(source.DrawAt(0, 0, &back()), DDERR_INVALIDRECT);
    for (unsigned char p : ReadPixels(back())) ASSERT_EQ(p, 200);
}

TEST_F(Blit, ClippedKeyedCopyDropsTheColumnsLeftOfTheClip) {
    source.SetColorKey(0);
    ASSERT_EQ(source.DrawKeyedClipped(-10, 5, &back(), RECT{0, 0, 640, 480}), DD_OK);
    EXPECT_EQ(PixelAt(back(), 0, 5), 11);  // source column 10
    EXPECT_EQ(PixelAt(back(), 21, 5), 32);  // source column 31
    EXPECT_EQ(PixelAt(back(), 22, 5), 200);
    EXPECT_EQ(source.srcRect.left, 0);
}

TEST_F(Blit, ScaledKeyedCopyScalesOnlyTheFarCorner) {
    source.SetColorKey(0);
    ASSERT_EQ(source.DrawScaledKeyed(10, 20, 2.0f, &back()), DD_OK);
    EXPECT_EQ(source.dstRect.left, 10);
    EXPECT_EQ(source.dstRect.top, 20);
    EXPECT_EQ(source.dstRect.right, 84);
    EXPECT_EQ(source.dstRect.bottom, 104);
}

TEST_F(Blit, MirrorsWorkInPlace) {
    ASSERT_EQ(source.MirrorLeftRight(0, 0, 0), DD_OK);
    EXPECT_EQ(PixelAt(source, 0, 0), 32);
    ASSERT_EQ(source.MirrorUpDown(0, 0, 0), DD_OK);
    EXPECT_EQ(PixelAt(source, 31, 31), 1);
}

TEST_F(Blit, LostSourceIsRestoredByTheCopyThatFoundIt) {
    platform::MarkSurfaceLost(source.surface);
    EXPECT_EQ(source.DrawAt(0, 0, &back()), DDERR_SURFACELOST);
    // Restored (its memory is back, contents undefined), so the next copy goes through.
    EXPECT_EQ(source.surface->IsLost(), DD_OK);
    EXPECT_EQ(source.DrawAt(0, 0, &back()), DD_OK);
}

TEST(SurfaceWithoutPlatformSurface, EveryOperationDoesNothing) {
    HeadlessDisplay display;
    Surface empty;
    EXPECT_NE(empty.Lock(), DD_OK);
    empty.PutPixel(0, 0, 1);
    EXPECT_NE(empty.Fill(3), DD_OK);
    EXPECT_NE(empty.Draw(display.screen().backBuffer), DD_OK);
    EXPECT_NE(empty.DrawKeyedAt(0, 0, display.screen().backBuffer), DD_OK);
}

}  // namespace
