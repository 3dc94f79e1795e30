// The display error report: the names of the result codes, the message and the quit request.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "graphics/display_error.h"
#include "platform/ddraw.h"
#include "tests/support/headless_display.h"

namespace {

TEST(DisplayErrorNames, HoldOneHundredDistinctPublishedCodes) {
    std::set<HRESULT> codes;
    std::set<std::string> texts;
    for (const DisplayErrorName& row : displayErrorNames) {
        codes.insert(row.code);
        texts.insert(row.text);
        EXPECT_EQ(std::string(DisplayErrorText(row.code)), row.text);
    }
    EXPECT_EQ(codes.size(), 100u);
    EXPECT_EQ(texts.size(), 100u);
}

TEST(DisplayErrorNames, KnowTheEdgesOfTheTableAndTheGeneralCodes) {
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x88760005)), "DDERR_ALREADYINITIALIZED");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x887602A8)), "DDERR_NOTPAGELOCKED");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x887601C2)), "DDERR_SURFACELOST");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x80004005)), "DDERR_GENERIC");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x8007000E)), "DDERR_OUTOFMEMORY");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x80004001)), "DDERR_UNSUPPORTED");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x800401F0)), "DDERR_NOTINITIALIZED");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x80070057)), "DDERR_INVALIDPARAMS");
}

TEST(DisplayErrorNames, ShowEverythingElseAsUnknown) {
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x88760001)), "Unknown Error");
    EXPECT_STREQ(DisplayErrorText(0), "Unknown Error");
    EXPECT_STREQ(DisplayErrorText(static_cast<HRESULT>(0x887602A9)), "Unknown Error");
    // Published codes that the report does not name.
    EXPECT_STREQ(DisplayErrorText(DDERR_NOSTEREOHARDWARE), "Unknown Error");
    EXPECT_STREQ(DisplayErrorText(DDERR_DEVICEDOESNTOWNSURFACE), "Unknown Error");
}

TEST(ReportDisplayError, ShowsTheNameInABoxThenRequestsQuit) {
    testing_support::HeadlessDisplay display;
    display.DrainQuitRequest();
    ReportDisplayError(DDERR_SURFACELOST, display.window());
    ReportDisplayError(0x12345, display.window());
    ASSERT_EQ(display.messageBoxes().size(), 2u);
    EXPECT_EQ(display.messageBoxes()[0], "Error|DirectDraw Error DDERR_SURFACELOST");
    EXPECT_EQ(display.messageBoxes()[1], "Error|DirectDraw Error Unknown Error");
    EXPECT_TRUE(display.DrainQuitRequest());
}

}  // namespace
