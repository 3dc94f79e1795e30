// Costs of picture loading: a 640x480 8-bit picture into a new surface (file read, decode, copy),
// the palette read, and the stretched copy from 8-bit and true-colour pictures.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/bitmap_loading.h"
#include "graphics/screen.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/headless_display.h"

namespace {

using testing_support::Rgb;

std::vector<Rgb> Ramp() {
    std::vector<Rgb> colours;
    for (int i = 0; i < 256; ++i) {
        colours.push_back(Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i * 7)});
    }
    return colours;
}

std::vector<std::uint8_t> Pattern(int width, int height) {
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            indices.push_back(static_cast<std::uint8_t>(x ^ y));
    }
    return indices;
}

// A display whose palette is the ramp, and pictures written next to it.
struct PictureBench {
    PictureBench() {
        palette = folder.Write("palette.bmp", testing_support::Write8BitBmp(1, 1, Ramp(), {0}));
        display.screen().SetPaletteFromBitmap(palette.c_str());
    }
    testing_support::HeadlessDisplay display;
    testing_support::TempFolder folder;
    std::string palette;
};

void BM_LoadBitmapSurface640x480(benchmark::State& state) {
    PictureBench bench;
    const std::string path = bench.folder.Write(
        "full.bmp", testing_support::Write8BitBmp(640, 480, Ramp(), Pattern(640, 480)));
    Screen& screen = bench.display.screen();
    for (auto _ : state) {
        int width = 0;
        int height = 0;
        IDirectDrawSurface* surface =
            LoadBitmapSurface(screen.directDraw, path.c_str(), &width, &height);
        benchmark::DoNotOptimize(surface);
        if (surface != nullptr)
            surface->Release();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_LoadBitmapSurface640x480)->Unit(benchmark::kMillisecond);

void BM_LoadPaletteFromBitmap(benchmark::State& state) {
    PictureBench bench;
    Screen& screen = bench.display.screen();
    for (auto _ : state) {
        IDirectDrawPalette* palette =
            LoadPaletteFromBitmap(screen.directDraw, bench.palette.c_str());
        benchmark::DoNotOptimize(palette);
        if (palette != nullptr)
            palette->Release();
    }
}
BENCHMARK(BM_LoadPaletteFromBitmap)->Unit(benchmark::kMicrosecond);

// The copy alone, from a picture already decoded, stretched onto a 640x480 surface. With `cold`
// the display palette changes before every copy, so no colour answer is remembered.
void StretchedCopy(benchmark::State& state, const std::vector<std::uint8_t>& file, bool cold) {
    PictureBench bench;
    const std::string path = bench.folder.Write("source.bmp", file);
    auto other = Ramp();
    other[255] = Rgb{1, 2, 3};
    const std::string otherPalette =
        bench.folder.Write("other.bmp", testing_support::Write8BitBmp(1, 1, other, {0}));
    HBITMAP image = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                    LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    Screen& screen = bench.display.screen();
    Surface target;
    target.Create(&screen, 640, 480);
    bool flip = false;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            flip = !flip;
            screen.SetPaletteFromBitmap(flip ? otherPalette.c_str() : bench.palette.c_str());
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(CopyBitmapToSurface(target.surface, image, 0, 0, 0, 0));
    }
    DeleteObject(image);
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}

void BM_StretchedCopy8Bit320x240To640x480(benchmark::State& state) {
    StretchedCopy(state, testing_support::Write8BitBmp(320, 240, Ramp(), Pattern(320, 240)), false);
}
BENCHMARK(BM_StretchedCopy8Bit320x240To640x480)->Unit(benchmark::kMillisecond);

std::vector<std::uint8_t> Gradient320x240() {
    // Smooth gradients: tens of thousands of distinct colours.
    std::vector<Rgb> pixels;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            pixels.push_back(Rgb{static_cast<std::uint8_t>(x * 255 / 319),
                                 static_cast<std::uint8_t>(y * 255 / 239),
                                 static_cast<std::uint8_t>((x + y) / 3)});
        }
    }
    testing_support::BmpFields fields;
    fields.width = 320;
    fields.height = 240;
    fields.bitCount = 24;
    fields.pixelData = testing_support::PackColourRows(pixels, 320, 240, 24, false);
    return testing_support::WriteBmp(fields);
}

void BM_StretchedCopy24Bit320x240To640x480(benchmark::State& state) {
    StretchedCopy(state, Gradient320x240(), false);
}
BENCHMARK(BM_StretchedCopy24Bit320x240To640x480)->Unit(benchmark::kMillisecond);

void BM_StretchedCopy24BitNewPalette(benchmark::State& state) {
    StretchedCopy(state, Gradient320x240(), true);
}
BENCHMARK(BM_StretchedCopy24BitNewPalette)->Unit(benchmark::kMillisecond);

}  // namespace
