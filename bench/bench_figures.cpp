// Figures: loading each drawing of the data pack, and drawing the large figure at scale 3 and
// the three small copies, as the figure act does every frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "figures/figure.h"
#include "tests/support/headless_display.h"

namespace {

const char* const kDrawings[] = {"bird.dxf", "Cock1.dxf", "Flower1.dxf", "Horses1.dxf"};

// The drawing's path in TOLVEK_DATA_DIR, or empty when it is not there.
std::string DrawingPath(int index) {
    const char* folder = std::getenv("TOLVEK_DATA_DIR");
    if (folder == nullptr)
        return {};
    const auto path = std::filesystem::path(folder) / kDrawings[index];
    return std::filesystem::exists(path) ? path.string() : std::string();
}

void BM_LoadDrawing(benchmark::State& state) {
    const std::string path = DrawingPath(static_cast<int>(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("set TOLVEK_DATA_DIR to a folder holding the drawings");
        return;
    }
    int lines = 0;
    for (auto _ : state) {
        DxfReader reader(path.c_str());
        Figure figure(&reader, nullptr);
        figure.Load();
        lines = figure.lines.count;
        benchmark::DoNotOptimize(figure.centreX);
    }
    state.SetLabel(std::string(kDrawings[state.range(0)]) + ", " + std::to_string(lines) +
                   " lines");
}
BENCHMARK(BM_LoadDrawing)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// One figure loaded on a headless screen, for the draw benchmarks.
struct LoadedFigure {
    explicit LoadedFigure(int index) : reader(DrawingPath(index).c_str()) {
        figure = std::make_unique<Figure>(&reader, &display.screen());
        figure->Load();
    }
    testing_support::HeadlessDisplay display;
    DxfReader reader;
    std::unique_ptr<Figure> figure;
};

void BM_DrawLargeAtScale3(benchmark::State& state) {
    if (DrawingPath(static_cast<int>(state.range(0))).empty()) {
        state.SkipWithError("set TOLVEK_DATA_DIR to a folder holding the drawings");
        return;
    }
    LoadedFigure loaded(static_cast<int>(state.range(0)));
    loaded.figure->x = 340;
    loaded.figure->y = 250;
    for (auto _ : state)
        loaded.figure->Draw(3.0f, 3.0f, 146);
    state.SetLabel(kDrawings[state.range(0)]);
}
BENCHMARK(BM_DrawLargeAtScale3)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_DrawSmallCopies(benchmark::State& state) {
    if (DrawingPath(0).empty()) {
        state.SkipWithError("set TOLVEK_DATA_DIR to a folder holding the drawings");
        return;
    }
    LoadedFigure loaded(0);
    const int positions[3][2] = {{60, 60}, {320, 240}, {600, 450}};
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            loaded.figure->x = positions[i][0];
            loaded.figure->y = positions[i][1];
            const float scale = 0.5f + 0.1f * static_cast<float>(i);
            loaded.figure->Draw(scale, scale, 143 + i);
        }
    }
    state.SetLabel("bird.dxf at 0.5, 0.6 and 0.7");
}
BENCHMARK(BM_DrawSmallCopies)->Unit(benchmark::kMicrosecond);

}  // namespace
