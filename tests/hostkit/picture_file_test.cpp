// The one PNG writer: pictures another decoder reads back index for index, files that are
// written whole or not at all, and names that are never overwritten.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "hostkit/desktop/picture_file.h"
#include "hostkit/indexed_png.h"
#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

// A frame where index, row and palette entry all differ, so a swap or a shift shows.
hostkit::RenderedFrame TestFrame() {
    hostkit::RenderedFrame frame;
    frame.width = 300;
    frame.height = 230;  // 69 000 index bytes: more than one stored block
    frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            frame.pixels[static_cast<std::size_t>(y * frame.width + x)] =
                static_cast<BYTE>((x * 7 + y * 13) & 0xFF);
    for (int i = 0; i < 256; ++i)
        frame.palette[static_cast<std::size_t>(i)] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                                                      static_cast<BYTE>(i * 3), 0};
    return frame;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(IndexedPng, AnotherDecoderReadsBackEveryIndexAndColourCompressedOrStored) {
    player_testing::ScratchFolder folder;
    const hostkit::RenderedFrame frame = TestFrame();
    for (int level : {-1, 1, 0}) {
        const std::string path = folder.Path("frame" + std::to_string(level + 1) + ".png");
        ASSERT_EQ(hostkit::WriteIndexedPngFile(path, frame.pixels.data(), frame.width, frame.width,
                                               frame.height, frame.palette.data(), level),
                  "");
        const render_testing::PngFile png = render_testing::ReadPng(path);
        ASSERT_EQ(png.error, "") << level;
        EXPECT_EQ(png.width, frame.width);
        EXPECT_EQ(png.height, frame.height);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.pixels, std::vector<unsigned char>(frame.pixels.begin(), frame.pixels.end()))
            << level;
        ASSERT_EQ(png.palette.size(), 256u);
        EXPECT_EQ(png.palette[200], (std::array<unsigned char, 3>{200, 55, 88}));
    }
    EXPECT_TRUE(hostkit::EncodeIndexedPng(nullptr, 0, 0, 0, nullptr).empty());
}

TEST(PictureFile, AFailedWriteIsSaidAndLeavesNothingBehind) {
    player_testing::ScratchFolder folder;
    const std::vector<std::uint8_t> png = hostkit::EncodeIndexedPng(TestFrame(), 0);
    // A disk that fills up after 4 kB: the write fails part way.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const std::string written = hostkit::WriteFileSafely(folder.Path("frame.png"), png,
                                                         hostkit::ExistingFile::KeepAndNumber, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(written, "");
    EXPECT_NE(error.find(folder.Path("frame.png") + ": cannot be written: "), std::string::npos)
        << error;
    EXPECT_TRUE(Names(folder.Path("")).empty()) << Names(folder.Path("")).front();

    // A folder that is not there.
    EXPECT_NE(hostkit::WriteIndexedPngFile(folder.Path("none/frame.png"), png.data(), 1, 1, 1,
                                           TestFrame().palette.data()),
              "");
}

TEST(PictureFile, ANameIsNeverOverwrittenButAFrameSequenceIsReplaced) {
    player_testing::ScratchFolder folder;
    const std::vector<std::uint8_t> first{1, 2, 3};
    const std::vector<std::uint8_t> second{4, 5};
    std::string error;
    const std::string a = folder.Path("shot.png");
    EXPECT_EQ(hostkit::WriteFileSafely(a, first, hostkit::ExistingFile::KeepAndNumber, &error), a);
    EXPECT_EQ(hostkit::WriteFileSafely(a, second, hostkit::ExistingFile::KeepAndNumber, &error),
              folder.Path("shot-2.png"));
    EXPECT_EQ(hostkit::WriteFileSafely(a, second, hostkit::ExistingFile::KeepAndNumber, &error),
              folder.Path("shot-3.png"));
    EXPECT_EQ(render_testing::FileBytes(a), std::string("\1\2\3"));
    EXPECT_EQ(hostkit::WriteFileSafely(a, second, hostkit::ExistingFile::Replace, &error), a);
    EXPECT_EQ(render_testing::FileBytes(a), std::string("\4\5"));
    EXPECT_EQ(Names(folder.Path("")),
              (std::vector<std::string>{"shot-2.png", "shot-3.png", "shot.png"}));
}

}  // namespace
