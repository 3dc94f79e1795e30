// The offline renderer's own work per video frame: the show's indices to the YUV picture piped
// to the encoder, at the default size, at the show's own size, and 16:9 with black bars.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "player/render/yuv_frame.h"

namespace {

// Width and height of the picture; another shape than 4:3 gets the frame between black bars.
void BM_YuvPicture(benchmark::State& state) {
    const int outWidth = static_cast<int>(state.range(0));
    const int outHeight = state.range(1) > 0 ? static_cast<int>(state.range(1)) : outWidth * 3 / 4;
    std::vector<BYTE> pixels(640 * 480);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>((i / 7) ^ (i / 640));
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3),
                      0};
    player::YuvFrameConverter converter(640, 480, outWidth, outHeight,
                                        player::FitPicture(640, 480, outWidth, outHeight));
    std::vector<std::uint8_t> picture(converter.pictureBytes());
    for (auto _ : state) {
        converter.Convert(pixels.data(), palette.data(), picture.data());
        benchmark::DoNotOptimize(picture.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_YuvPicture)
    ->Args({1280, 0})
    ->Args({640, 0})
    ->Args({1920, 0})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
