// Loading a plug-in through its one exported symbol, and refusing libraries that do not speak
// the interface with one line naming the file and the reason.
#include <gtest/gtest.h>

#include <string>

#include "hostkit/desktop/plugin_library.h"

namespace {

using hostkit::PluginLibrary;

std::string Refusal(const std::string& path) {
    hostkit::PluginLibrary library;
    std::string error;
    EXPECT_FALSE(library.Load(path, &error));
    EXPECT_EQ(library.module(), nullptr);
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    return error;
}

TEST(PluginLibrary, LoadsTheModuleAndAnInstanceInsideTheLibrary) {
    hostkit::PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(FAKE_VIS_PATH, &error)) << error;
    ASSERT_NE(library.module(), nullptr);
    EXPECT_STREQ(library.module()->description, "Fake visualization");
    EXPECT_EQ(library.header()->version, 0x101);
    char path[4096] = {};
    ASSERT_GT(GetModuleFileNameA(library.instance(), path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("fake_vis_0"), std::string::npos) << path;
}

TEST(PluginLibrary, RefusesALibraryWithoutTheSymbol) {
    EXPECT_NE(Refusal(NOT_A_VIS_PATH).find("no winampVisGetHeader"), std::string::npos);
}

TEST(PluginLibrary, RefusesAHeaderOfAnotherVersion) {
    EXPECT_NE(Refusal(FAKE_VIS_OLD_PATH).find("another version"), std::string::npos);
}

TEST(PluginLibrary, RefusesAHeaderWithoutAModule) {
    EXPECT_NE(Refusal(FAKE_VIS_NO_MODULE_PATH).find("no module"), std::string::npos);
}

TEST(PluginLibrary, RefusesAMissingFileOrOneThatIsNoLibrary) {
    Refusal("/nonexistent/vis_nothing.so");
    Refusal(TOLVEK_PLAYER_PATH);  // an executable, not a shared library
}

}  // namespace
