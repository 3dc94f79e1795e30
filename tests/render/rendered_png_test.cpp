// The built plug-in rendered in this process: every PNG written holds exactly the presented
// frame's palette indices and the palette in force, across a scene change that replaces it.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "hostkit/builtin_tune.h"
#include "hostkit/desktop/plugin_library.h"
#include "platform/host_services.h"
#include "player/render/offline_render.h"
#include "player/render/png_sequence.h"
#include "tests/player/sound_files.h"
#include "tests/render/png_file.h"

namespace {

using render_testing::PngFile;
using render_testing::ReadPng;

class MemorySink : public player::FrameSink {
  public:
    std::string Write(int frame, const hostkit::RenderedFrame& image) override {
        frames[frame] = image;
        return {};
    }
    std::map<int, hostkit::RenderedFrame> frames;
};

bool SamePalette(const PngFile& png, const hostkit::RenderedFrame& frame) {
    if (png.palette.size() != 256)
        return false;
    for (std::size_t i = 0; i < 256; ++i) {
        const PALETTEENTRY& entry = frame.palette[i];
        if (png.palette[i] !=
            std::array<unsigned char, 3>{entry.peRed, entry.peGreen, entry.peBlue})
            return false;
    }
    return true;
}

TEST(RenderedPngs, HoldThePresentedIndicesAndThePaletteInForce) {
    const char* dir = std::getenv("TOLVEK_PLUGIN_DIR");
    ASSERT_NE(dir, nullptr);
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(1234567890);
    hostkit::PluginLibrary plugin;
    std::string error;
    ASSERT_TRUE(plugin.Load(std::string(dir) + "/vis_tolvek.so", &error)) << error;

    player_testing::ScratchFolder folder;
    player::PngSequence pngs(folder.Path("frames"));
    ASSERT_EQ(pngs.Open(), "");
    MemorySink memory;
    auto tune = hostkit::MakeBuiltinTune();
    // The first scene change, at frame 720, replaces the display palette.
    auto run = player::RenderOffline(plugin, tune.get(), 30, player::FrameRange{715, 725},
                                     {&pngs, &memory}, nullptr, {});
    platform::FixCalendarTime(std::nullopt);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.framesWritten, 11);
    ASSERT_EQ(memory.frames.size(), 11u);
    EXPECT_EQ(pngs.written(), 11);

    int paletteChanges = 0;
    for (const auto& [k, frame] : memory.frames) {
        SCOPED_TRACE("frame " + std::to_string(k));
        const PngFile png = ReadPng(folder.Path("frames/" + player::PngFrameName(k)));
        ASSERT_EQ(png.error, "");
        EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_PALETTE);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.width, 640);
        EXPECT_EQ(png.height, 480);
        EXPECT_TRUE(SamePalette(png, frame));
        EXPECT_EQ(png.pixels, frame.pixels);
        if (k > 715 && std::memcmp(frame.palette.data(), memory.frames[k - 1].palette.data(),
                                   sizeof(PALETTEENTRY) * 256) != 0) {
            ++paletteChanges;
        }
    }
    EXPECT_EQ(paletteChanges, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("frames/" + player::PngFrameName(714))));
}

}  // namespace
