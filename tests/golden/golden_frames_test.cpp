// Golden frames: the built plug-in, loaded as a host loads it, rendered headless with a fixed
// clock and a fixed sound; chosen frames of a whole cycle and the start of the next are compared
// with checked-in checksums of their indices and palettes. A differing frame is written as PNG.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "hostkit/desktop/plugin_library.h"
#include "platform/host_services.h"
#include "hostkit/desktop/picture_file.h"
#include "tests/support/host_window.h"

namespace {

constexpr std::int64_t kClock = 1234567890;
constexpr int kLastFrame = 4180 + 460;

// Every phase of the cycle: slides, the backdrop's alternation, interlude, tree growth, scene
// changes, each figure's flattening and unfolding, the act's end and the second cycle's start.
const std::set<int> kChosenFrames = {
    1,    2,    6,    7,    399,  400,  410,  419,  420,  501,  560,  675,  719,  720,
    721,  1200, 1500, 1900, 2160, 2300, 2700, 2880, 2881, 3000, 3281, 3290, 3299, 3300,
    3310, 3320, 3321, 3700, 3981, 4170, 4180, 4181, 4182, 4581, 4601, 4640};

struct Frame {
    std::vector<unsigned char> pixels;
    PALETTEENTRY palette[256];
    int pitch = 0;
};

std::uint64_t Checksum(const Frame& frame) {
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
    for (unsigned char p : frame.pixels) mix(p);
    for (const PALETTEENTRY& e : frame.palette) {
        mix(e.peRed);
        mix(e.peGreen);
        mix(e.peBlue);
    }
    return hash;
}

// Deterministic music-like bytes: two tones whose loudness swells and a click every 23 frames.
void SyntheticWaveform(int frame, unsigned char (*out)[576]) {
    const double swell = 0.5 + 0.5 * std::sin(frame * 0.05);
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 576; ++i) {
            double t = (frame * 576 + i) / 44100.0;
            double v = swell * (0.6 * std::sin(2 * std::numbers::pi * (110 + 55 * c) * t) +
                                0.3 * std::sin(2 * std::numbers::pi * 880 * t));
            if (frame % 23 == 0 && i < 40) v = (i % 2) ? 0.95 : -0.95;
            int sample = static_cast<int>(std::lround(v * 127));
            out[c][i] = static_cast<unsigned char>(static_cast<signed char>(sample));
        }
    }
}

std::map<int, std::uint64_t> ReadExpected(const std::string& path) {
    std::map<int, std::uint64_t> expected;
    std::ifstream in(path);
    int frame = 0;
    std::string hex;
    while (in >> frame >> hex) expected[frame] = std::stoull(hex, nullptr, 16);
    return expected;
}

// The colour table of a BMP file of the data pack, as the display palette takes it.
std::vector<PALETTEENTRY> FilePalette(const std::string& name) {
    std::ifstream in(std::string(std::getenv("TOLVEK_PLUGIN_DIR")) + "/v_tolvek/" + name,
                     std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256 && 54 + 4 * i + 3 < static_cast<int>(bytes.size()); ++i) {
        palette[i] = {bytes[54 + 4 * i + 2], bytes[54 + 4 * i + 1], bytes[54 + 4 * i], 0};
    }
    return palette;
}

bool SamePalette(const PALETTEENTRY* a, const std::vector<PALETTEENTRY>& b) {
    for (int i = 0; i < 256; ++i) {
        if (a[i].peRed != b[i].peRed || a[i].peGreen != b[i].peGreen ||
            a[i].peBlue != b[i].peBlue) {
            return false;
        }
    }
    return true;
}

int Count(const Frame& frame, unsigned char index) {
    int n = 0;
    for (unsigned char p : frame.pixels) n += p == index;
    return n;
}

// A resting trace: one colour from x 0 to 637 (the first band's last segment stops short).
bool RestingRow(const Frame& frame, int y) {
    const unsigned char* row = frame.pixels.data() + y * 640;
    for (int x = 1; x < 638; ++x) {
        if (row[x] != row[0]) return false;
    }
    return true;
}

// What the rules say of the silent run's frames, checked before their checksums are trusted.
void CheckKeyPixels(int k, const Frame& frame) {
    SCOPED_TRACE("silent frame " + std::to_string(k));
    if (k == 1) {
        EXPECT_TRUE(SamePalette(frame.palette, FilePalette("sLeaf.bmp")));
        for (int y : {198, 199, 338, 339}) EXPECT_TRUE(RestingRow(frame, y));
    }
    if (k == 400 || k == 410) {
        EXPECT_GT(Count(frame, 255), 640 * 480 / 2);
    }
    if (k == 420) {
        EXPECT_TRUE(SamePalette(frame.palette, FilePalette("chick256.bmp")));
        EXPECT_GT(Count(frame, 125), 640 * 480 * 9 / 10);
    }
    if (k == 719) {
        EXPECT_GT(Count(frame, 17), 1000);
    }
    if (k == 3300) {
        // The figure act runs under the palette of backdrop 0, rebuilt at the last scene change.
        EXPECT_TRUE(SamePalette(frame.palette, FilePalette("chick256.bmp")));
    }
    if (k == 3000 || k == 3700) {
        // The figure act: black, its traces resting at 100 + 128 and 300 + 128.
        EXPECT_GT(Count(frame, 0), 640 * 480 * 9 / 10);
        for (int y : {228, 229, 428, 429}) EXPECT_TRUE(RestingRow(frame, y));
        EXPECT_EQ(frame.pixels[228 * 640 + 10], 99);
    }
    if (k == 4181) {
        EXPECT_TRUE(SamePalette(frame.palette, FilePalette("chick256.bmp")));
        for (int y : {198, 199}) EXPECT_TRUE(RestingRow(frame, y));
    }
}

class GoldenFrames : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenFrames, MatchTheirCheckedInChecksums) {
    const std::string sound = GetParam();
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    platform::FixCalendarTime(kClock);
    hostkit::PluginLibrary library;
    std::string error;
    const char* dir = std::getenv("TOLVEK_PLUGIN_DIR");
    ASSERT_NE(dir, nullptr);
    ASSERT_TRUE(library.Load(std::string(dir) + "/vis_tolvek.so", &error)) << error;

    HWND host = testing_support::OpenHostWindow("GoldenHost");
    winampVisModule* module = library.module();
    testing_support::PrepareModule(module, host, library.instance());

    Frame frame;
    platform::ObserverHandle presents = platform::AddPresentObserver([&frame](const platform::PresentedFrame& presented) {
        presented.CopyPixels(frame.pixels);
        std::memcpy(frame.palette, presented.palette, sizeof frame.palette);
    });
    ASSERT_EQ(module->Init(module), 0);

    const std::string expectedPath = std::string(TOLVEK_GOLDEN_DIR) + "/" + sound + ".txt";
    const std::map<int, std::uint64_t> expected = ReadExpected(expectedPath);
    const bool update = std::getenv("TOLVEK_GOLDEN_UPDATE") != nullptr;
    std::ostringstream actual;
    for (int k = 1; k <= kLastFrame; ++k) {
        if (sound == "silence") {
            std::memset(module->waveformData, 0, sizeof module->waveformData);
        } else {
            SyntheticWaveform(k, module->waveformData);
        }
        ASSERT_EQ(module->Render(module), 0);
        if (kChosenFrames.count(k) == 0) continue;
        if (sound == "silence") CheckKeyPixels(k, frame);
        const std::uint64_t sum = Checksum(frame);
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(sum));
        actual << k << " " << hex << "\n";
        auto it = expected.find(k);
        if (update || it == expected.end() || it->second != sum) {
            const std::string png = std::string(TOLVEK_GOLDEN_OUT) + "/" + sound + "-frame-" +
                                    std::to_string(k) + ".png";
            hostkit::WriteIndexedPngFile(png, frame.pixels.data(), 640, 640, 480, frame.palette);
            if (!update) ADD_FAILURE() << sound << " frame " << k << " differs; actual: " << png;
        }
    }
    module->Quit(module);
    presents.Reset();
    testing_support::CloseHostWindow(host, "GoldenHost");
    if (update) std::ofstream(expectedPath) << actual.str();
}

INSTANTIATE_TEST_SUITE_P(Sounds, GoldenFrames, ::testing::Values("silence", "synthetic"));

}  // namespace
