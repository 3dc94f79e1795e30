// Screen set-up, presentation, lost surfaces, palettes and teardown.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/screen.h"
#include "platform/host_services.h"
#include "tests/support/headless_display.h"

namespace {

using testing_support::HeadlessDisplay;

TEST(Screen, FullScreenSetUpGivesAFlipChainOfTheAskedSize) {
    HeadlessDisplay display;
    Screen& screen = display.screen();
    EXPECT_EQ(screen.width, 640);
    EXPECT_EQ(screen.height, 480);
    EXPECT_EQ(screen.bitsPerPixel, 8);
    EXPECT_EQ(screen.fullScreen, 1);
    ASSERT_NE(screen.backBuffer->surface, nullptr);
    screen.backBuffer->Lock();
    EXPECT_EQ(screen.backBuffer->desc.dwWidth, 640u);
    EXPECT_EQ(screen.backBuffer->desc.dwHeight, 480u);
    screen.backBuffer->Unlock();
    EXPECT_TRUE(display.messageBoxes().empty());
}

TEST(Screen, PresentShowsTheBackBufferAndSwapsRoles) {
    HeadlessDisplay display;
    Screen& screen = display.screen();
    int presented = -1;
    platform::ObserverHandle presents = platform::AddPresentObserver([&presented](const platform::PresentedFrame& frame) {
        presented = frame.pixels[100 * frame.pitch + 100];
    });
    screen.Clear(42);
    EXPECT_EQ(screen.Present(), DD_OK);
    presents.Reset();
    EXPECT_EQ(presented, 42);
}

TEST(Screen, PresentOnALostDisplayRestoresItForTheNextFrame) {
    HeadlessDisplay display;
    Screen& screen = display.screen();
    platform::MarkAllSurfacesLost();
    EXPECT_EQ(screen.Present(), DDERR_SURFACELOST);
    EXPECT_EQ(screen.primary->surface->IsLost(), DD_OK);
    EXPECT_EQ(screen.backBuffer->surface->IsLost(), DD_OK);
    screen.Clear(1);
    EXPECT_EQ(screen.Present(), DD_OK);
}

TEST(Screen, PaletteFromANullNameFailsAndKeepsThePalette) {
    HeadlessDisplay display;
    Screen& screen = display.screen();
    EXPECT_EQ(screen.SetPaletteFromBitmap(nullptr), 0);
    EXPECT_EQ(screen.palette, nullptr);
}

TEST(Screen, SecondPaletteReplacesTheFirst) {
    HeadlessDisplay display;
    Screen& screen = display.screen();
    ASSERT_EQ(screen.SetPaletteFromBitmap("no-such-file.bmp"), 1);
    IDirectDrawPalette* first = screen.palette;
    first->AddRef();
    ASSERT_EQ(screen.SetPaletteFromBitmap("no-such-file.bmp"), 1);
    EXPECT_NE(screen.palette, first);
    // Only our extra reference keeps the first one alive now.
    EXPECT_EQ(first->Release(), 0u);
    IDirectDrawPalette* attached = nullptr;
    ASSERT_EQ(screen.primary->surface->GetPalette(&attached), DD_OK);
    EXPECT_EQ(attached, screen.palette);
    attached->Release();
}

TEST(Screen, DestructionReleasesEveryDisplayObject) {
    int before = platform::CountDisplayObjects();
    {
        HeadlessDisplay display;
        display.screen().SetPaletteFromBitmap("x.bmp");
        EXPECT_GT(platform::CountDisplayObjects(), before);
    }
    EXPECT_EQ(platform::CountDisplayObjects(), before);
}

struct FailingStep {
    const char* operation;
    HRESULT code;
    const char* shown;
    std::size_t boxes;  // later steps that depend on the failed one fail and are reported too
};

class ScreenSetUpFailure : public ::testing::TestWithParam<FailingStep> {};

TEST_P(ScreenSetUpFailure, IsReportedOnceThenSetUpGoesOnAndTeardownIsClean) {
    const FailingStep step = GetParam();
    int before = platform::CountDisplayObjects();
    testing_support::UseHeadlessPlatform();
    platform::InjectDisplayFault(step.operation, step.code);
    {
        HeadlessDisplay display;
        ASSERT_EQ(display.messageBoxes().size(), step.boxes);
        EXPECT_EQ(display.messageBoxes()[0], std::string("Error|DirectDraw Error ") + step.shown);
        EXPECT_TRUE(display.DrainQuitRequest());
        // Whatever is missing, a frame can be attempted without harm.
        display.screen().Clear(3);
        display.screen().Present();
    }
    EXPECT_EQ(platform::CountDisplayObjects(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, ScreenSetUpFailure,
    ::testing::Values(
        FailingStep{"DirectDrawCreate", DDERR_NODIRECTDRAWHW, "DDERR_NODIRECTDRAWHW", 1},
        FailingStep{"QueryInterface", E_NOINTERFACE, "Unknown Error", 1},
        FailingStep{"SetCooperativeLevel", DDERR_HWNDALREADYSET, "DDERR_HWNDALREADYSET", 3},
        FailingStep{"SetDisplayMode", DDERR_INVALIDMODE, "DDERR_INVALIDMODE", 2},
        FailingStep{"CreateSurface", DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY", 1}));

TEST(ScreenSetUpFailure, FailedDisplayModeAlsoFailsThePrimaryThatNeedsIt) {
    testing_support::UseHeadlessPlatform();
    platform::InjectDisplayFault("SetDisplayMode", DDERR_UNSUPPORTEDMODE);
    HeadlessDisplay display;
    ASSERT_EQ(display.messageBoxes().size(), 2u);
    EXPECT_EQ(display.messageBoxes()[0], "Error|DirectDraw Error DDERR_UNSUPPORTEDMODE");
    EXPECT_EQ(display.messageBoxes()[1], "Error|DirectDraw Error DDERR_NOEXCLUSIVEMODE");
    EXPECT_EQ(display.screen().primary->surface, nullptr);
    EXPECT_EQ(display.screen().backBuffer->surface, nullptr);
}

TEST(Screen, WindowedSetUpPresentsIntoTheClientArea) {
    testing_support::UseHeadlessPlatform();
    HeadlessDisplay display;  // provides a window; a second Screen draws into it windowed
    Screen windowed;
    windowed.CreateWindowed(display.window(), 640, 480);
    EXPECT_EQ(windowed.fullScreen, 0);
    EXPECT_EQ(windowed.bitsPerPixel, 32);
    ASSERT_NE(windowed.clipper, nullptr);
    RECT client{};
    GetClientRect(display.window(), &client);
    int width = 0;
    int pixel = -1;
    platform::ObserverHandle presents = platform::AddPresentObserver([&](const platform::PresentedFrame& frame) {
        width = frame.width;
        pixel = frame.pixels[0];
    });
    windowed.Clear(9);
    EXPECT_EQ(windowed.Present(), DD_OK);
    presents.Reset();
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(pixel, 9);
}

}  // namespace
