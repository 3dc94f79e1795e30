// Fuzzes the palette reader: the colour table of a bitmap resource over the bytes as they are,
// and of a file through the real file calls, onto the display's 256 entries.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "graphics/bitmap_loading.h"
#include "graphics/palette_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    fuzzing::FuzzScreen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PALETTEENTRY cube[256];
    FillDefaultColourCube(cube);

    PALETTEENTRY entries[256];
    std::memcpy(entries, cube, sizeof entries);
    const int taken = TakeResourceColours(data, size, entries);
    if (taken < 0 || taken > 256)
        fuzzing::Fail("resource reader took a colour count outside 0..256");
    if (std::memcmp(entries + taken, cube + taken, sizeof(PALETTEENTRY) * (256 - taken)) != 0)
        fuzzing::Fail("resource reader changed entries past the ones it took");

    Screen& screen = fuzzing::FuzzScreen();
    const std::string& path = fuzzing::WriteScratchFile(data, size);
    IDirectDrawPalette* palette = LoadPaletteFromBitmap(screen.directDraw, path.c_str());
    if (palette == nullptr)
        fuzzing::Fail("the headless display refused a palette");
    PALETTEENTRY shown[256];
    palette->GetEntries(0, 0, 256, shown);
    // Whole entries beyond the end of the file keep the colour cube, or have at most red and
    // blue exchanged when the header asks for more colours than the file holds.
    for (std::size_t i = 0; i < 256; ++i) {
        if (54 + 4 * i < size)
            continue;
        const bool same = std::memcmp(&shown[i], &cube[i], sizeof(PALETTEENTRY)) == 0;
        const bool exchanged = shown[i].peRed == cube[i].peBlue &&
                               shown[i].peBlue == cube[i].peRed &&
                               shown[i].peGreen == cube[i].peGreen && shown[i].peFlags == 0;
        if (!same && !exchanged)
            fuzzing::Fail("an entry beyond the end of the file lost the colour cube");
    }
    palette->Release();
    return 0;
}
