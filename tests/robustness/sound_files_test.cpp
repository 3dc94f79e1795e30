// Sound files the player is given that it cannot play: empty, cut short, of no known format, at
// 0 Hz or absurd rates, folders and named pipes. Each is named with its reason on one line; with
// nothing playable the player ends with status 1, otherwise the rest plays.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "player/sound/file_track.h"
#include "tests/player/run_player.h"
#include "tests/player/sound_files.h"

namespace robustness {
namespace {

using player::FileTrack;
using player_testing::ScratchFolder;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A second of a tone as 16-bit stereo WAV at 44.1 kHz.
std::string GoodWav(const ScratchFolder& folder, const std::string& name) {
    const std::string path = folder.Path(name);
    EXPECT_EQ(player_testing::WriteSoundFile(
                  path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 44100,
                  [](long frame, int) { return 0.5 * std::sin(frame * 0.05); }),
              "");
    return path;
}

// The WAV with its sample rate (and byte rate) fields set to `rate`.
std::string WithRate(const std::string& wav, std::uint32_t rate) {
    std::string bytes = wav;
    for (int i = 0; i < 4; ++i) {
        bytes[24 + i] = static_cast<char>((rate >> (8 * i)) & 0xFF);
        bytes[28 + i] = static_cast<char>(((rate * 4u) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string Refusal(const std::string& path) {
    std::string error;
    auto track = FileTrack::Open(path, &error);
    EXPECT_EQ(track, nullptr) << path << " should have been refused";
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << "should start with the file's name: " << error;
    return error;
}

TEST(SoundFiles, EmptyUnknownAndCutShortInTheHeaderAreRefusedByName) {
    ScratchFolder folder;
    const std::string wav = ReadAll(GoodWav(folder, "good.wav"));
    const std::string empty = folder.Path("empty.wav");
    WriteAll(empty, "");
    EXPECT_NE(Refusal(empty).find("cannot be read"), std::string::npos);
    const std::string unknown = folder.Path("noise.mp3");
    WriteAll(unknown, std::string(5000, '\x5a'));
    EXPECT_NE(Refusal(unknown).find("cannot be read"), std::string::npos);
    for (std::size_t cut : {std::size_t{4}, std::size_t{12}, std::size_t{30}, std::size_t{44}}) {
        const std::string cutShort = folder.Path("cut" + std::to_string(cut) + ".wav");
        WriteAll(cutShort, wav.substr(0, cut));
        Refusal(cutShort);
    }
}

TEST(SoundFiles, CutShortInTheSoundPlaysWhatIsThere) {
    ScratchFolder folder;
    const std::string wav = ReadAll(GoodWav(folder, "good.wav"));
    const std::string half = folder.Path("half.wav");
    WriteAll(half, wav.substr(0, wav.size() / 2));
    std::string error;
    auto track = FileTrack::Open(half, &error);
    ASSERT_NE(track, nullptr) << error;
    std::vector<std::int16_t> samples(576 * 2);
    // Past the sound that is there, only silence comes, and the length shrinks to what decoded.
    EXPECT_EQ(track->Read(30000, 576, samples.data()), 0);
    EXPECT_LE(track->lengthFrames(), 44100 / 2);
    EXPECT_EQ(track->Read(1000, 576, samples.data()), 576);
}

TEST(SoundFiles, ZeroAndAbsurdSampleRatesAreRefusedByName) {
    ScratchFolder folder;
    const std::string wav = ReadAll(GoodWav(folder, "good.wav"));
    for (std::uint32_t rate : {0u, 1u, 999u, 768001u, 2000000000u, 4294967295u}) {
        const std::string path = folder.Path("rate" + std::to_string(rate) + ".wav");
        WriteAll(path, WithRate(wav, rate));
        const std::string error = Refusal(path);
        EXPECT_TRUE(error.find("sample rate") != std::string::npos ||
                    error.find("cannot be read") != std::string::npos)
            << error;
    }
}

TEST(SoundFiles, AFolderOrANamedPipeIsRefusedWithoutWaiting) {
    ScratchFolder folder;
    const std::string sub = folder.Path("album.flac");
    std::filesystem::create_directory(sub);
    EXPECT_NE(Refusal(sub).find("is a folder"), std::string::npos);
    const std::string pipe = folder.Path("stream.wav");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_NE(Refusal(pipe).find("is not a regular file"), std::string::npos);
}

TEST(SoundFiles, ThePlayerEndsWithStatusOneWhenNothingCanBePlayed) {
    ScratchFolder folder;
    const std::string empty = folder.Path("empty.wav");
    WriteAll(empty, "");
    const std::string zero = folder.Path("zero.wav");
    WriteAll(zero, WithRate(ReadAll(GoodWav(folder, "good.wav")), 0));
    player_testing::PlayerRun run =
        player_testing::RunPlayer({"--plugin", FAKE_VIS_PATH, empty, zero}, {}, 30);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("empty.wav: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("zero.wav: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tolvek: none of the files can be played"), std::string::npos)
        << run.err;
}

TEST(SoundFiles, ThePlayerPlaysOnPastTheFilesItCannotPlay) {
    ScratchFolder folder;
    const std::string bad = folder.Path("bad.ogg");
    WriteAll(bad, "OggS but not really");
    const std::string good = GoodWav(folder, "good.wav");
    player_testing::PlayerRun run = player_testing::RunPlayer(
        {"--plugin", FAKE_VIS_PATH, bad, good}, {{"FAKE_VIS_RENDERS", "5"}}, 30);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto lines = player_testing::Lines(run.err);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("bad.ogg") != l.npos; }),
              1)
        << run.err;
}

}  // namespace
}  // namespace robustness
