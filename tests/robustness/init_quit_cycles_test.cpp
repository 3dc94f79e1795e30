// A thousand starts and stops of the real plug-in library, as a host drives it: every window,
// display object, file handle and byte of memory it takes is given back each time.
#include <gtest/gtest.h>

#include <string>

#include "hostkit/desktop/plugin_library.h"
#include "platform/host_services.h"
#include "tests/robustness/plugin_copy.h"
#include "tests/support/host_window.h"
#include "tests/support/process_usage.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace robustness {
namespace {

using testing_support::OpenFiles;

long ResidentKb() {
    return testing_support::StatusKb("VmRSS");
}

TEST(InitQuitCycles, AThousandLeaveNoWindowDisplayObjectFileOrMemoryBehind) {
    constexpr int kCycles = 1000;
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    hostkit::PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load((BuiltPluginFolder() / "vis_tolvek.so").string(), &error)) << error;
    HWND parent = testing_support::OpenHostWindow("CyclesHost");
    winampVisModule* module = library.module();
    testing_support::PrepareModule(module, parent, library.instance());

    const int windows = platform::CountWindows();
    const int objects = platform::CountDisplayObjects();
    long files = -1;  // counted with the stderr capture's own file open
    long residentAfterWarmUp = -1;
    int failures = 0;
    ::testing::internal::CaptureStderr();
    for (int cycle = 1; cycle <= kCycles && failures < 5; ++cycle) {
        bool ok = module->Init(module) == 0;
        for (int frame = 0; frame < 2; ++frame)
            ok = module->Render(module) == 0 && ok;
        module->Quit(module);
        testing_support::DiscardMessages();
        ok =
            ok && platform::CountWindows() == windows && platform::CountDisplayObjects() == objects;
        if (cycle == 1)
            files = OpenFiles();
        ok = ok && OpenFiles() == files;
        if (cycle == 100)
            residentAfterWarmUp = ResidentKb();
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "cycle " << cycle << ": windows " << platform::CountWindows() << "/"
                          << windows << ", display objects " << platform::CountDisplayObjects()
                          << "/" << objects << ", open files " << OpenFiles() << "/" << files;
        }
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    const long grown = ResidentKb() - residentAfterWarmUp;
    RecordProperty("resident_kb_growth_cycles_100_to_1000", std::to_string(grown));
#if defined(__SANITIZE_ADDRESS__)
    // Freed memory waits in AddressSanitizer's quarantine; LeakSanitizer counts what is lost.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaks after " << kCycles << " cycles";
#else
    EXPECT_LT(grown, 2048) << "kB of growth from cycle 100 to cycle " << kCycles;
#endif
    testing_support::CloseHostWindow(parent, "CyclesHost");
    testing_support::DiscardMessages();
}

}  // namespace
}  // namespace robustness
