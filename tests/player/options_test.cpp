// The player's command line: files, options with values, the capture source, and usage errors.
#include <gtest/gtest.h>

#include "player/options.h"

namespace {

using player::ParseOptions;

TEST(PlayerOptions, FilesAndOptionsInAnyOrder) {
    std::string error;
    auto options = ParseOptions({"a.flac", "--window", "--clock", "1234", "b.mp3",
                                 "--plugin=/x/vis.so", "--", "--odd-name.wav"},
                                &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->files, (std::vector<std::string>{"a.flac", "b.mp3", "--odd-name.wav"}));
    EXPECT_TRUE(options->window);
    EXPECT_EQ(options->clockSeconds, 1234);
    EXPECT_EQ(options->pluginPath, "/x/vis.so");
    EXPECT_FALSE(options->capture);
}

TEST(PlayerOptions, CaptureTakesAnOptionalSourceName) {
    std::string error;
    auto plain = ParseOptions({"--capture", "--window"}, &error);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->capture);
    EXPECT_EQ(plain->captureSource, "");
    auto named = ParseOptions({"--capture", "alsa_input.usb"}, &error);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->captureSource, "alsa_input.usb");
    auto joined = ParseOptions({"--capture=sink.monitor"}, &error);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->captureSource, "sink.monitor");
    EXPECT_TRUE(joined->files.empty());
}

TEST(PlayerOptions, UsageErrorsSayWhatIsWrong) {
    std::string error;
    EXPECT_FALSE(ParseOptions({"--loud"}, &error));
    EXPECT_EQ(error, "unknown option --loud");
    EXPECT_FALSE(ParseOptions({"--clock"}, &error));
    EXPECT_EQ(error, "option --clock needs a value");
    EXPECT_FALSE(ParseOptions({"--clock", "soon"}, &error));
    EXPECT_EQ(error, "--clock takes whole seconds, not 'soon'");
    EXPECT_FALSE(ParseOptions({"--clock", "99999999999999999999999"}, &error));
    EXPECT_FALSE(ParseOptions({"--capture", "src", "song.wav"}, &error));
    EXPECT_EQ(error, "--capture shows live sound; it takes no files");
}

TEST(PlayerOptions, HelpNamesEveryOptionAndKey) {
    const std::string usage = player::UsageText();
    for (const char* word : {"--capture", "--list-devices", "--window", "--clock", "--plugin",
                             "--help", "--version", "Space pause", "tolvek render"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

}  // namespace
