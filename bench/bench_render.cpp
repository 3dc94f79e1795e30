// The offline renderer's own work per video frame: the show's indices to the YUV picture piped
// to the encoder, at the default size and at the show's own size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "player/render/yuv_frame.h"

namespace {

void BM_YuvPicture(benchmark::State& state) {
    const int outWidth = static_cast<int>(state.range(0));
    const int outHeight = outWidth * 3 / 4;
    std::vector<BYTE> pixels(640 * 480);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>((i / 7) ^ (i / 640));
    std::vector<PALETTEENTRY> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3),
                      0};
    player::YuvFrameConverter converter(640, 480, outWidth, outHeight);
    std::vector<std::uint8_t> picture(converter.pictureBytes());
    for (auto _ : state) {
        converter.Convert(pixels.data(), palette.data(), picture.data());
        benchmark::DoNotOptimize(picture.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_YuvPicture)->Arg(1280)->Arg(640)->Arg(1920)->Unit(benchmark::kMicrosecond);

}  // namespace
