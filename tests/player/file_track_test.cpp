// Sound files: the formats libsndfile reads, refusals named with their file and reason, and a
// decoded window that stays bounded whatever the file's length.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "player/sound/file_track.h"
#include "tests/player/sound_files.h"

namespace {

using player::FileTrack;
using player_testing::ScratchFolder;

double Sine(long frame, int channel) {
    return 0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * static_cast<double>(frame) / 48000.0 +
                          channel);
}

short Ramp(long frame, int channel) {
    return static_cast<short>((frame * 7 + channel * 1000) % 65536 - 32768);
}

bool CanWrite(int format) {
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = format;
    return sf_format_check(&info) != 0;
}

std::string Refusal(const std::string& path) {
    std::string error;
    auto track = FileTrack::Open(path, &error);
    EXPECT_EQ(track, nullptr);
    return error;
}

TEST(FileTrack, ReadsFlacVorbisOpusAndMpeg) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        int format;
    };
    const Case cases[] = {
        {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"tone.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
        {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    for (const Case& c : cases) {
        if (!CanWrite(c.format)) {
            ADD_FAILURE() << "this libsndfile cannot write " << c.name << " to test reading it";
            continue;
        }
        const std::string path = folder.Path(c.name);
        ASSERT_EQ(player_testing::WriteSoundFile(path, c.format, 48000, 2, 48000, Sine), "");
        std::string error;
        auto track = FileTrack::Open(path, &error);
        ASSERT_NE(track, nullptr) << c.name << ": " << error;
        EXPECT_EQ(track->sampleRate(), 48000) << c.name;
        EXPECT_EQ(track->sourceChannels(), 2) << c.name;
        EXPECT_NEAR(static_cast<double>(track->lengthFrames()), 48000.0, 2400.0) << c.name;
        // A lossy codec keeps the tone's level: about 0.5 peak, 0.35 RMS.
        std::vector<std::int16_t> frames(4800 * 2);
        ASSERT_EQ(track->Read(12000, 4800, frames.data()), 4800) << c.name;
        double sum = 0.0;
        for (std::int16_t s : frames)
            sum += static_cast<double>(s) * s;
        double rms = std::sqrt(sum / static_cast<double>(frames.size())) / 32768.0;
        EXPECT_NEAR(rms, 0.354, 0.05) << c.name;
    }
}

TEST(FileTrack, RefusesWhatItCannotPlayNamingTheFile) {
    ScratchFolder folder;
    const std::string missing = folder.Path("missing.wav");
    EXPECT_NE(Refusal(missing).find(missing + ": "), std::string::npos);

    const std::string text = folder.Path("notes.mp3");
    std::ofstream(text) << "these are words, not sound\n";
    std::string error = Refusal(text);
    EXPECT_EQ(error.rfind(text + ": ", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);

    // A WAV header cut off in the middle.
    const std::string whole = folder.Path("whole.wav");
    ASSERT_EQ(player_testing::WriteSamples16(whole, 44100, 2, 100, Ramp), "");
    std::ifstream in(whole, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = folder.Path("cut.wav");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, 30);
    EXPECT_EQ(Refusal(cut).rfind(cut + ": ", 0), 0u);

    const std::string empty = folder.Path("empty.wav");
    ASSERT_EQ(player_testing::WriteSamples16(empty, 44100, 2, 0, Ramp), "");
    EXPECT_EQ(Refusal(empty), empty + ": no sound could be decoded");

    const std::string wide = folder.Path("ten.wav");
    ASSERT_EQ(player_testing::WriteSamples16(wide, 44100, 10, 100, Ramp), "");
    EXPECT_EQ(Refusal(wide), wide + ": 10 channels (1 to 8 are played)");

    const std::string slow = folder.Path("slow.wav");
    ASSERT_EQ(player_testing::WriteSamples16(slow, 100, 1, 100, Ramp), "");
    EXPECT_EQ(Refusal(slow), slow + ": sample rate 100 Hz is outside 1000 to 768000 Hz");
}

TEST(FileTrack, LongFileIsHeldInABoundedWindowAndSeeksBack) {
    ScratchFolder folder;
    const std::string path = folder.Path("long.wav");
    const int rate = 8000;
    const long frames = rate * 60L;
    ASSERT_EQ(player_testing::WriteSamples16(path, rate, 2, frames, Ramp), "");
    std::string error;
    auto track = FileTrack::Open(path, &error);
    ASSERT_NE(track, nullptr) << error;
    std::vector<std::int16_t> out(576 * 2);
    std::size_t mostHeld = 0;
    for (long start = 0; start + 576 <= frames; start += 576) {
        ASSERT_EQ(track->Read(start, 576, out.data()), 576);
        ASSERT_EQ(out[0], Ramp(start, 0));
        ASSERT_EQ(out[575 * 2 + 1], Ramp(start + 575, 1));
        mostHeld = std::max(mostHeld, track->heldFrames());
    }
    EXPECT_LE(mostHeld, track->windowCapacityFrames() + 4096);
    EXPECT_LT(mostHeld, static_cast<std::size_t>(frames) / 4);
    // Back to the start, then past the end: silence there.
    ASSERT_EQ(track->Read(10, 576, out.data()), 576);
    EXPECT_EQ(out[0], Ramp(10, 0));
    EXPECT_EQ(track->Read(frames - 100, 576, out.data()), 100);
    EXPECT_EQ(out[99 * 2], Ramp(frames - 1, 0));
    EXPECT_EQ(out[100 * 2], 0);
    EXPECT_EQ(track->Read(-50, 100, out.data()), 50);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[50 * 2], Ramp(0, 0));
}

}  // namespace
