// Renders each effect alone on a cleared 640x480 screen with a synthetic sound and writes one
// indexed PNG per effect: effect_pictures OUTPUT_DIR [LEAF_BMP].
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "effects/fractal_tree.h"
#include "effects/particle_swarm.h"
#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "effects/wave_scope.h"
#include "graphics/screen.h"
#include "host/winamp_vis.h"
#include "platform/host_services.h"
#include "tests/effects/pictures/indexed_png.h"
#include "tests/support/headless_display.h"

namespace {

using effect_pictures::Palette;

constexpr double kTwoPi = 6.283185307179586;

// Two channels of a chord with a little beat between them, as signed bytes stored unsigned.
std::unique_ptr<winampVisModule> SyntheticSound() {
    auto module = std::make_unique<winampVisModule>();
    module->nCh = 2;
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double t = static_cast<double>(i) / kWaveformSamples;
        const double left = 0.42 * std::sin(kTwoPi * 3 * t) +
                            0.22 * std::sin(kTwoPi * 11 * t + 0.7) +
                            0.08 * std::sin(kTwoPi * 37 * t);
        const double right = 0.38 * std::sin(kTwoPi * 4 * t + 1.1) +
                             0.25 * std::sin(kTwoPi * 9 * t) + 0.1 * std::sin(kTwoPi * 29 * t + 2);
        module->waveformData[0][i] = static_cast<unsigned char>(static_cast<int>(left * 127));
        module->waveformData[1][i] = static_cast<unsigned char>(static_cast<int>(right * 127));
    }
    return module;
}

// The display palette in force, for pictures drawn under a palette loaded from a BMP file.
Palette DisplayPalette(Screen& screen) {
    Palette palette = effect_pictures::ColourCubePalette();
    PALETTEENTRY entries[256];
    if (screen.palette != nullptr && screen.palette->GetEntries(0, 0, 256, entries) == DD_OK) {
        for (int i = 0; i < 256; ++i) {
            palette[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
        }
    }
    return palette;
}

bool Save(Screen& screen, const std::string& path, const Palette& palette) {
    const auto pixels = testing_support::ReadPixels(*screen.backBuffer);
    if (!effect_pictures::WriteIndexedPng(path, pixels, screen.width, screen.height, palette)) {
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [LEAF_BMP]\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    const char* leafFile = argc > 2 ? argv[2] : nullptr;

    testing_support::HeadlessDisplay display;
    Screen& screen = display.screen();
    const auto sound = SyntheticSound();
    platform::FixCalendarTime(1000000000);

    // With the data pack's leaf, its palette (which gives the show's fixed indices their
    // colours) dresses every picture; otherwise a colour cube does.
    FractalTree tree(&screen, leafFile, 17);
    const Palette palette =
        leafFile != nullptr ? DisplayPalette(screen) : effect_pictures::ColourCubePalette();
    bool ok = true;

    // The field on the pixel interlude's background.
    PixelField field(&screen);
    screen.Clear(255);
    field.Draw();
    ok &= Save(screen, directory + "/pixel_field.png", palette);

    WaveScope scope(&screen);
    screen.Clear(0);
    scope.DrawTrace(sound.get(), 640, 70, 0xFC, 2);
    ok &= Save(screen, directory + "/wave_scope_trace.png", palette);

    const int ringColours[2] = {0xE0, 0xE1};
    screen.Clear(0);
    scope.DrawRing(sound.get(), 320, 240, ringColours, 2);
    ok &= Save(screen, directory + "/wave_scope_ring.png", palette);

    // The fountain a few seconds into the figure act.
    ParticleSwarm swarm(&screen, 50, 640, 480);
    for (int update = 0; update < 120; ++update)
        swarm.Update();
    screen.Clear(0);
    swarm.Draw();
    ok &= Save(screen, directory + "/particle_swarm.png", palette);

    // The full-grown tree as the show draws it on the tree phase's background: straight children
    // off, depth 6, unit 30.
    tree.straight = 0;
    screen.Clear(125);
    tree.DrawBranch(320, 480, 6, 8, 30);
    ok &= Save(screen, directory + "/fractal_tree.png", palette);

    platform::FixCalendarTime(std::nullopt);
    return ok ? 0 : 1;
}
