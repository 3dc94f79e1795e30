// Costs of each effect's draw at the show's arguments: the pixel field, both scopes, the swarm
// and the full-grown tree.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "effects/fractal_tree.h"
#include "effects/particle_swarm.h"
#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "effects/wave_scope.h"
#include "graphics/screen.h"
#include "host/winamp_vis.h"
#include "platform/host_services.h"
#include "tests/support/headless_display.h"

namespace {

// Two channels of a loud chord, so the scopes' lines are long and steep.
std::unique_ptr<winampVisModule> ChordSound() {
    auto module = std::make_unique<winampVisModule>();
    module->nCh = 2;
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double t = 6.283185307179586 * i / kWaveformSamples;
        module->waveformData[0][i] = static_cast<unsigned char>(
            static_cast<int>(90 * std::sin(3 * t) + 30 * std::sin(17 * t)));
        module->waveformData[1][i] = static_cast<unsigned char>(
            static_cast<int>(80 * std::sin(5 * t + 1) + 35 * std::sin(23 * t)));
    }
    return module;
}

void BM_PixelFieldDraw(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    platform::FixCalendarTime(1000000000);
    PixelField field(&display.screen());
    for (auto _ : state)
        field.Draw();
    platform::FixCalendarTime(std::nullopt);
}
BENCHMARK(BM_PixelFieldDraw);

void BM_WaveScopeTrace(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    WaveScope scope(&display.screen());
    const auto sound = ChordSound();
    for (auto _ : state)
        scope.DrawTrace(sound.get(), 640, 70, 200, 2);
}
BENCHMARK(BM_WaveScopeTrace);

void BM_WaveScopeRing(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    WaveScope scope(&display.screen());
    const auto sound = ChordSound();
    const int colours[2] = {200, 201};
    for (auto _ : state)
        scope.DrawRing(sound.get(), 320, 240, colours, 2);
}
BENCHMARK(BM_WaveScopeRing);

void BM_ParticleSwarmUpdateAndDraw(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    ShowSrand(1000000000u);
    ParticleSwarm swarm(&display.screen(), 50, 640, 480);
    for (auto _ : state) {
        swarm.Update();
        swarm.Draw();
    }
}
BENCHMARK(BM_ParticleSwarmUpdateAndDraw);

// The data pack's leaf when TOLVEK_DATA_DIR names a folder holding it.
std::string LeafFile() {
    const char* folder = std::getenv("TOLVEK_DATA_DIR");
    if (folder == nullptr)
        return {};
    const std::string path = std::string(folder) + "/sLeaf.bmp";
    return std::ifstream(path).good() ? path : std::string();
}

void BM_FractalTreeDepth6Unit30(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    const std::string leaf = LeafFile();
    FractalTree tree(&display.screen(), leaf.empty() ? nullptr : leaf.c_str(), 17);
    tree.straight = 0;
    for (auto _ : state)
        tree.DrawBranch(320, 480, 6, 8, 30);
    state.SetLabel(leaf.empty() ? "lines only" : "with leaves");
}
BENCHMARK(BM_FractalTreeDepth6Unit30);

}  // namespace
