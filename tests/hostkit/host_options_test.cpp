// The command line of the Windows test host and the frame grabber.
#include <gtest/gtest.h>

#include "hostkit/desktop/host_options.h"

namespace {

using hostkit::HostProgram;

std::optional<hostkit::HostOptions> Parse(HostProgram program, std::vector<std::string> args,
                                          std::string* error) {
    return hostkit::ParseHostOptions(program, args, error);
}

TEST(HostOptions, WindowsHostTakesItsWholeSet) {
    std::string error;
    const auto o = Parse(HostProgram::WindowsHost, {"--plugin", "x.dll",        "--wav",
                                                    "a.wav",    "--clock",      "1000000000",
                                                    "--frames", "400",          "--shot-frame",
                                                    "300",      "--shot-frame", "100",
                                                    "--shot",   "s-%d.bmp",     "--log",
                                                    "h.log",    "--hold",       "0",
                                                    "--escape", "--timeout",    "90"},
                         &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->pluginPath, "x.dll");
    EXPECT_EQ(o->wavPath, "a.wav");
    EXPECT_EQ(o->clockSeconds, 1000000000);
    EXPECT_EQ(o->frames, 400);
    EXPECT_EQ(o->ShotFrames(), (std::vector<int>{100, 300}));
    EXPECT_EQ(o->ShotPathFor(300), "s-300.bmp");
    EXPECT_EQ(o->logPath, "h.log");
    EXPECT_EQ(o->holdSeconds, 0);
    EXPECT_TRUE(o->escape);
    EXPECT_EQ(o->timeoutSeconds, 90);
}

TEST(HostOptions, DefaultsRunUntilTheQuitRequestOnSilence) {
    std::string error;
    const auto o = Parse(HostProgram::WindowsHost, {}, &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->frames, 0);
    EXPECT_TRUE(o->ShotFrames().empty());
    EXPECT_FALSE(o->clockSeconds);
    EXPECT_EQ(o->holdSeconds, 30);
    EXPECT_FALSE(o->escape);
}

TEST(HostOptions, OneShotWithoutFrameNumberKeepsTheLastFrameUnderItsOwnName) {
    std::string error;
    const auto o = Parse(HostProgram::FrameGrabber, {"--frames", "50", "--shot", "f.bmp"}, &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->ShotFrames(), std::vector<int>{50});
    EXPECT_EQ(o->ShotPathFor(50), "f.bmp");
}

TEST(HostOptions, UsageErrorsSayWhatIsWrong) {
    struct Case {
        HostProgram program;
        std::vector<std::string> args;
        const char* error;
    };
    const std::vector<Case> cases = {
        {HostProgram::WindowsHost, {"--bogus"}, "unknown option '--bogus'"},
        {HostProgram::WindowsHost, {"--png", "x.png"}, "unknown option '--png'"},
        {HostProgram::FrameGrabber, {"--frames", "5", "--escape"}, "unknown option '--escape'"},
        {HostProgram::WindowsHost, {"--frames"}, "--frames needs a value"},
        {HostProgram::WindowsHost, {"--frames", "0"}, "bad value '0' for --frames"},
        {HostProgram::WindowsHost, {"--frames", "12x"}, "bad value '12x' for --frames"},
        {HostProgram::WindowsHost, {"--clock", "-5"}, "bad value '-5' for --clock"},
        {HostProgram::WindowsHost, {"--wav", ""}, "bad value '' for --wav"},
        {HostProgram::FrameGrabber,
         {"--shot", "a.bmp"},
         "--frames is needed: the frame grabber stops after the last frame"},
        {HostProgram::WindowsHost,
         {"--frames", "10", "--shot-frame", "11"},
         "--shot-frame 11 comes after the last frame (10)"},
        {HostProgram::WindowsHost,
         {"--shot", "a.bmp"},
         "--shot needs --frames or --shot-frame: which frame to keep"},
        {HostProgram::WindowsHost,
         {"--shot-frame", "1", "--shot-frame", "2", "--shot", "a.bmp"},
         "--shot needs a %d for the frame number when several frames are kept"},
        {HostProgram::FrameGrabber, {"--frames", "3", "--png", "a.png"}, "--png goes with --shot"},
        {HostProgram::FrameGrabber,
         {"--frames", "3", "--shot-frame", "1", "--shot-frame", "2", "--shot", "a-%d.bmp", "--png",
          "a.png"},
         "--png needs a %d for the frame number when several frames are kept"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.program, c.args, &error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

TEST(HostOptions, TestSignalNeedsNoFrames) {
    std::string error;
    const auto o = Parse(HostProgram::FrameGrabber, {"--make-wav", "s.wav"}, &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->makeWavPath, "s.wav");
}

TEST(HostOptions, HelpStopsParsing) {
    std::string error;
    const auto o = Parse(HostProgram::WindowsHost, {"--help", "--bogus"}, &error);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->help);
    EXPECT_NE(hostkit::HostUsage(HostProgram::WindowsHost).find("--escape"), std::string::npos);
    EXPECT_EQ(hostkit::HostUsage(HostProgram::FrameGrabber).find("--escape"), std::string::npos);
}

TEST(HostOptions, FrameNumberReplacesTheFirstPlaceholderOnly) {
    EXPECT_EQ(hostkit::WithFrameNumber("f-%d-%d.bmp", 7), "f-7-%d.bmp");
    EXPECT_EQ(hostkit::WithFrameNumber("plain.bmp", 7), "plain.bmp");
}

}  // namespace
