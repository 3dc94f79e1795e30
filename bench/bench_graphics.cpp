// Costs of the graphics layer's per-frame work: clear, full-screen copy, pixels, lines and the
// presentation conversion.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/screen.h"
#include "platform/portable/display_objects.h"
#include "platform/portable/frame_conversion.h"
#include "tests/support/headless_display.h"

namespace {

void BM_Clear(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    for (auto _ : state) benchmark::DoNotOptimize(display.screen().Clear(255));
}
BENCHMARK(BM_Clear);

void BM_FullScreenBlt(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    Surface picture;
    picture.Create(&display.screen(), 640, 480);
    picture.Fill(3);
    for (auto _ : state) benchmark::DoNotOptimize(picture.Draw(display.screen().backBuffer));
}
BENCHMARK(BM_FullScreenBlt);

void BM_TenThousandPutPixel(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    Surface& back = *display.screen().backBuffer;
    std::vector<int> xs(10000);
    std::vector<int> ys(10000);
    for (int i = 0; i < 10000; ++i) {
        xs[i] = (i * 7919) % 641;
        ys[i] = (i * 104729) % 481;
    }
    for (auto _ : state) {
        back.Lock();
        for (int i = 0; i < 10000; ++i) back.PutPixel(xs[i], ys[i], i & 0xFF);
        back.Unlock();
    }
}
BENCHMARK(BM_TenThousandPutPixel);

void BM_ThousandMixedLines(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    Surface& back = *display.screen().backBuffer;
    for (auto _ : state) {
        back.Lock();
        for (int i = 0; i < 1000; ++i) {
            int x = (i * 37) % 700 - 30;
            int y = (i * 53) % 540 - 30;
            back.DrawLine(x, y, x + (i % 200) - 100, y + (i * 7 % 160) - 80, i & 0xFF);
        }
        back.Unlock();
    }
}
BENCHMARK(BM_ThousandMixedLines);

void BM_PresentConversion(benchmark::State& state) {
    std::vector<BYTE> frame(static_cast<std::size_t>(platform::detail::PitchFor(640)) * 480, 7);
    PALETTEENTRY palette[256] = {};
    std::uint32_t lookup[256];
    platform::detail::BuildLookup(palette, lookup);
    std::vector<std::uint32_t> out(640 * 480);
    for (auto _ : state) {
        platform::detail::ConvertIndexedFrame(frame.data(), platform::detail::PitchFor(640), 640,
                                              480, lookup, out.data(), 640);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PresentConversion);

void BM_FlipHeadless(benchmark::State& state) {
    testing_support::HeadlessDisplay display;
    for (auto _ : state) benchmark::DoNotOptimize(display.screen().Present());
}
BENCHMARK(BM_FlipHeadless);

}  // namespace
