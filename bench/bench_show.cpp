// Costs of the show itself, headless: each phase as one Render call, a whole 4180-frame cycle,
// the presentation conversion of the show's frames, and the machine's own limit for one frame
// (write 640x480 indices, convert them to 32-bit with one table lookup a pixel) in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <numbers>
#include <vector>

#include "effects/animated_sprite.h"
#include "effects/fractal_tree.h"
#include "graphics/tile_sheet.h"
#include "host/plugin.h"
#include "platform/host_services.h"
#include "platform/portable/frame_conversion.h"
#include "show/show_state.h"
#include "tests/support/host_window.h"
#include "tests/support/load_time_counters.h"

namespace {

constexpr int kCycleFrames = 4180;
constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kFramePixels = kFrameWidth * kFrameHeight;

// Music-like bytes: two tones whose loudness swells and a click every 23 frames, one waveform per
// frame of a cycle, made once so that making them is never timed.
using Waveform = unsigned char[2][576];
const std::vector<unsigned char>& CycleSound() {
    static const std::vector<unsigned char> sound = [] {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(kCycleFrames) * sizeof(Waveform));
        for (int frame = 0; frame < kCycleFrames; ++frame) {
            auto* out = reinterpret_cast<Waveform*>(bytes.data() + frame * sizeof(Waveform));
            const double swell = 0.5 + 0.5 * std::sin(frame * 0.05);
            for (int c = 0; c < 2; ++c) {
                for (int i = 0; i < 576; ++i) {
                    const double t = (frame * 576 + i) / 44100.0;
                    double v = swell * (0.6 * std::sin(2 * std::numbers::pi * (110 + 55 * c) * t) +
                                        0.3 * std::sin(2 * std::numbers::pi * 880 * t));
                    if (frame % 23 == 0 && i < 40)
                        v = (i % 2) ? 0.95 : -0.95;
                    const auto sample = static_cast<signed char>(std::lround(v * 127));
                    (*out)[c][i] = static_cast<unsigned char>(sample);
                }
            }
        }
        return bytes;
    }();
    return sound;
}

// The platform library lies beside the data pack in the plug-in's folder, so an address inside
// it leads Init to the pictures and drawings as the plug-in's own address would.
HINSTANCE PluginFolderInstance() {
    return reinterpret_cast<HINSTANCE>(reinterpret_cast<void*>(&platform::FixCalendarTime));
}

// The show started headless with a fixed clock from its load-time counters, as a host starts it.
class HeadlessShow {
  public:
    HeadlessShow() {
        CycleSound();  // made before anything is timed
        platform::SetDisplayPreference(platform::DisplayPreference::Headless);
        platform::FixCalendarTime(1234567890);
        boxes_ = platform::AddMessageBoxObserver([](const char*, const char*) {});
        parent_ = testing_support::OpenHostWindow("BenchHost");
        testing_support::ResetLoadTimeCounters(showState);
        module = GetModule(0);
        testing_support::PrepareModule(module, parent_, PluginFolderInstance());
    }
    ~HeadlessShow() {
        if (initialised_)
            module->Quit(module);
        testing_support::PumpMessages();
        testing_support::CloseHostWindow(parent_, "BenchHost");
        testing_support::PumpMessages();
        boxes_.Reset();
    }
    HeadlessShow(const HeadlessShow&) = delete;
    HeadlessShow& operator=(const HeadlessShow&) = delete;

    // Init, as the host calls it; true when it ran and the pictures loaded (without the data pack
    // every frame would be cheap).
    bool Start() {
        initialised_ = module->Init(module) == 0;
        return initialised_ && showState.backdrop != nullptr &&
               showState.backdrop->tileSheet != nullptr &&
               showState.backdrop->tileSheet->surface != nullptr;
    }
    void LoadSound(int frame) {
        std::memcpy(module->waveformData,
                    CycleSound().data() + (frame % kCycleFrames) * sizeof(Waveform),
                    sizeof(Waveform));
    }
    winampVisModule* module = nullptr;

  private:
    platform::ObserverHandle boxes_;
    HWND parent_ = nullptr;
    bool initialised_ = false;
};

// Thread-independent CPU seconds of the process; the machine is shared, so CPU time is steadier
// than the wall clock.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The machine's limit for one frame: write every index of a 640x480 frame, then convert it to
// 32-bit through a 256-entry table. Nothing the show does per frame can be much cheaper.
struct LimitFrame {
    LimitFrame() : indices(kFramePixels), colours(kFramePixels) {
        for (int i = 0; i < 256; ++i)
            table[i] = 0xFF000000u | (i * 0x010203u);
    }
    void Run(int k) {
        std::memset(indices.data(), k & 0xFF, indices.size());
        benchmark::ClobberMemory();
        const unsigned char* in = indices.data();
        std::uint32_t* out = colours.data();
        for (int i = 0; i < kFramePixels; ++i)
            out[i] = table[in[i]];
        benchmark::DoNotOptimize(colours.data());
        benchmark::ClobberMemory();
    }
    std::vector<unsigned char> indices;
    std::vector<std::uint32_t> colours;
    std::uint32_t table[256];
};

// CPU seconds per limit frame: the best of five runs of 1000 frames.
double LimitSecondsPerFrame() {
    constexpr int kFrames = 1000;
    LimitFrame frame;
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double start = CpuSeconds();
        for (int k = 0; k < kFrames; ++k)
            frame.Run(k);
        best = std::min(best, (CpuSeconds() - start) / kFrames);
    }
    return best;
}

void BM_MemoryLimitFrame(benchmark::State& state) {
    LimitFrame frame;
    int k = 0;
    for (auto _ : state)
        frame.Run(k++);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoryLimitFrame)->Unit(benchmark::kMicrosecond);

// One Render call of a phase: before each call the counters are set so the frame falls in it.
template <class Placement>
void RenderPhase(benchmark::State& state, Placement place) {
    HeadlessShow show;
    if (!show.Start()) {
        state.SkipWithError("the show did not start with its pictures: build vis_tolvek first");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        place(showState, k);
        show.LoadSound(k);
        benchmark::DoNotOptimize(show.module->Render(show.module));
        ++k;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ShowSlides(benchmark::State& state) {
    RenderPhase(state, [](ShowState& s, int k) { s.frameCounter = k % 399; });
}
BENCHMARK(BM_ShowSlides)->Unit(benchmark::kMicrosecond);

void BM_ShowPixelInterlude(benchmark::State& state) {
    RenderPhase(state, [](ShowState& s, int k) { s.frameCounter = 399 + k % 20; });
}
BENCHMARK(BM_ShowPixelInterlude)->Unit(benchmark::kMicrosecond);

// The tree at one depth with the largest unit that depth takes (6 x depth), under the picture
// pulsing with the sound. Frame 601 neither advances the tree nor sets a palette.
void BM_ShowTree(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    RenderPhase(state, [depth](ShowState& s, int) {
        s.frameCounter = 600;
        s.treeDepth = depth;
        s.treeUnit = 6 * depth;
        s.tree->spread = 2;
    });
}
BENCHMARK(BM_ShowTree)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);

// Frame 720 of scene 0: both sprites released and loaded anew from scene 1's pictures.
void BM_ShowSceneChange(benchmark::State& state) {
    RenderPhase(state, [](ShowState& s, int) {
        s.frameCounter = 719;
        s.scene = 0;
        s.act = 0;
    });
}
BENCHMARK(BM_ShowSceneChange)->Unit(benchmark::kMicrosecond);

void BM_ShowFigureAct(benchmark::State& state) {
    RenderPhase(state, [](ShowState& s, int k) {
        s.act = 1;
        s.scene = 1;
        s.frameCounter = k % 400;
    });
}
BENCHMARK(BM_ShowFigureAct)->Unit(benchmark::kMicrosecond);

// Converts every presented frame as the window's presentation does: the table rebuilt only when
// the palette's contents changed, then one lookup a pixel into a 32-bit frame.
class FrameConverter {
  public:
    FrameConverter() : colours_(kFramePixels) {}
    void Convert(const platform::PresentedFrame& frame) {
        if (!valid_ || std::memcmp(palette_, frame.palette, sizeof palette_) != 0) {
            std::memcpy(palette_, frame.palette, sizeof palette_);
            platform::detail::BuildLookup(palette_, table_);
            valid_ = true;
        }
        platform::detail::ConvertIndexedFrame(frame.pixels, frame.pitch, frame.width, frame.height,
                                              table_, colours_.data(), frame.width);
        benchmark::DoNotOptimize(colours_.data());
    }

  private:
    std::vector<std::uint32_t> colours_;
    PALETTEENTRY palette_[256]{};
    std::uint32_t table_[256]{};
    bool valid_ = false;
};

// A whole cycle from the show's start, with the music-like sound; with arg 1 every frame is also
// converted to 32-bit as the window would show it. The counters set the cycle against the
// machine's limit for as many frames, measured in the same run.
void BM_ShowCycle(benchmark::State& state) {
    const bool convert = state.range(0) != 0;
    HeadlessShow show;
    if (!show.Start()) {
        state.SkipWithError("the show did not start with its pictures: build vis_tolvek first");
        return;
    }
    FrameConverter converter;
    platform::ObserverHandle presents;
    if (convert) {
        presents = platform::AddPresentObserver(
            [&converter](const platform::PresentedFrame& frame) { converter.Convert(frame); });
    }
    double cpu = 0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        for (int k = 0; k < kCycleFrames; ++k) {
            show.LoadSound(k);
            benchmark::DoNotOptimize(show.module->Render(show.module));
        }
        cpu += CpuSeconds() - start;
    }
    presents.Reset();
    const double perFrame = cpu / static_cast<double>(state.iterations()) / kCycleFrames;
    const double limit = LimitSecondsPerFrame();
    state.counters["frame_us"] = perFrame * 1e6;
    state.counters["limit_us"] = limit * 1e6;
    state.counters["x_limit"] = perFrame / limit;
    state.SetItemsProcessed(state.iterations() * kCycleFrames);
}
BENCHMARK(BM_ShowCycle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Init with the data pack (window, display, pictures, drawings, tree); Quit is not timed.
void BM_ShowInit(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto show = std::make_unique<HeadlessShow>();
        state.ResumeTiming();
        const bool started = show->Start();
        state.PauseTiming();
        if (!started)
            state.SkipWithError("the show did not start with its pictures");
        show.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowInit)->Unit(benchmark::kMillisecond);

}  // namespace
