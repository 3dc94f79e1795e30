// `cmake --install` into a scratch prefix: the layout a packager gets, and the installed program
// finding its installed plug-in and data pack without being told where they are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

namespace fs = std::filesystem;

TEST(Installation, PutsEachPartInItsPlaceAndTheInstalledProgramRenders) {
    player_testing::ScratchFolder scratch;
    const std::string prefix = scratch.Path("prefix");
    const std::string install = std::string("'") + TOLVEK_CMAKE_COMMAND + "' --install '" +
                                TOLVEK_BUILD_DIR + "' --prefix '" + prefix + "' > '" +
                                scratch.Path("install.log") + "' 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0)
        << render_testing::FileBytes(scratch.Path("install.log"));

    for (const char* part :
         {"bin/tolvek", "lib/tolvek/vis_tolvek.so", "lib/tolvek/libtolvek-platform.so",
          "lib/tolvek/v_tolvek/chick256.bmp", "lib/tolvek/v_tolvek/bird.dxf",
          "share/man/man1/tolvek.1.gz", "share/applications/tolvek.desktop",
          "share/icons/hicolor/256x256/apps/tolvek.png",
          "share/icons/hicolor/48x48/apps/tolvek.png"}) {
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + part)) << part;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(prefix + "/lib/tolvek/v_tolvek"),
                            fs::directory_iterator()),
              13);
    const std::string desktop =
        render_testing::FileBytes(prefix + "/share/applications/tolvek.desktop");
    EXPECT_NE(desktop.find("\nExec=tolvek %F\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nIcon=tolvek\n"), std::string::npos);
    const auto icon =
        render_testing::ReadPng(prefix + "/share/icons/hicolor/256x256/apps/tolvek.png");
    EXPECT_EQ(icon.width, 256);
    EXPECT_EQ(icon.height, 256);

    // The build tree is out of the way: what runs is what was installed.
    const std::string program = prefix + "/bin/tolvek";
    const std::string frames = scratch.Path("frames");
    const std::string run = "cd '" + scratch.Path("") + "' && TOLVEK_DISPLAY=headless '" + program +
                            "' render --silence --frames 1-2 --png-dir '" + frames + "' > '" +
                            scratch.Path("run.log") + "' 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << render_testing::FileBytes(scratch.Path("run.log"));
    for (const char* name : {"frame-000001.png", "frame-000002.png"}) {
        const auto png = render_testing::ReadPng(frames + "/" + name);
        EXPECT_EQ(png.error, "");
        EXPECT_EQ(png.width, 640);
        EXPECT_EQ(png.palette.size(), 256u);
    }
    const std::string version = "'" + program + "' --version > '" + scratch.Path("v") + "'";
    ASSERT_EQ(std::system(version.c_str()), 0);
    EXPECT_EQ(render_testing::FileBytes(scratch.Path("v")).rfind("tolvek (Quenari Tolvek) ", 0),
              0u);
}

}  // namespace
