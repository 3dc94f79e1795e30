// Several watchers of the display and the debugger channel at once (a host's frame capture,
// its notices, a test's own): each sees every frame and line until its own handle goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostkit/presented_frame.h"
#include "platform/host_services.h"
#include "tests/support/headless_display.h"

namespace {

TEST(Observers, TwoAtOnceBothSeeEveryFrameAndLineAndEachLeavesAlone) {
    testing_support::HeadlessDisplay display;
    Screen& screen = display.screen();
    auto first = std::make_unique<hostkit::PresentedFrameCapture>();
    hostkit::PresentedFrameCapture second;
    std::vector<std::string> linesA;
    std::vector<std::string> linesB;
    platform::ObserverHandle a =
        platform::AddDiagnosticObserver([&](const char* line) { linesA.push_back(line); });
    platform::ObserverHandle b =
        platform::AddDiagnosticObserver([&](const char* line) { linesB.push_back(line); });

    screen.Clear(7);
    screen.Present();
    OutputDebugStringA("one\n");
    EXPECT_EQ(first->presentCount(), 1);
    EXPECT_EQ(second.presentCount(), 1);
    EXPECT_EQ(second.latest().pixels[0], 7);

    first.reset();  // one capture goes: the other still sees every frame
    a.Reset();
    screen.Clear(9);
    screen.Present();
    OutputDebugStringA("two\n");
    EXPECT_EQ(second.presentCount(), 2);
    EXPECT_EQ(second.latest().pixels[0], 9);
    EXPECT_EQ(linesA, std::vector<std::string>{"one\n"});
    EXPECT_EQ(linesB, (std::vector<std::string>{"one\n", "two\n"}));

    // An observer that removes itself while it is told leaves the others their turn.
    std::vector<std::string> linesC;
    platform::ObserverHandle c;
    c = platform::AddDiagnosticObserver([&](const char* line) {
        linesC.push_back(line);
        c.Reset();
    });
    platform::ObserverHandle d =
        platform::AddDiagnosticObserver([&](const char* line) { linesC.push_back(line); });
    OutputDebugStringA("three\n");
    OutputDebugStringA("four\n");
    EXPECT_EQ(linesC, (std::vector<std::string>{"three\n", "three\n", "four\n"}));
}

}  // namespace
