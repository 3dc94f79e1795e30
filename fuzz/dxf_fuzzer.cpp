// Fuzzes the line drawings: the DXF reader over bytes, Figure::Load with its centre and
// recentring, and drawing at the scales and positions the figure act uses.
#include <string_view>

#include "figures/dxf_reader.h"
#include "figures/figure.h"
#include "figures/figure_constants.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    fuzzing::FuzzScreen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Screen& screen = fuzzing::FuzzScreen();
    DxfReader reader(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.dxf");
    Figure figure(&reader, &screen);
    figure.Load();
    reader.Close();
    if (figure.lines.count < 0 || figure.lines.count > figures::kMaxFigureLines)
        fuzzing::Fail("a figure holds more lines than it may");
    if (figure.lines.count == 0 && (figure.centreX != 0 || figure.centreY != 0))
        fuzzing::Fail("an empty figure has a centre");
    // The large figure stretched and flattened, and the small copies near the edges.
    figure.Draw(1.0f, 1.0f, 143);
    figure.Draw(3.0f, 0.0f, 144);
    figure.x = 20;
    figure.y = 469;
    figure.Draw(0.25f, 0.25f, 99);
    figure.x = 619;
    figure.y = 20;
    figure.Draw(0.0f, 3.0f, 100);
    return 0;
}
