// The shared colours. The fixed ones are chosen for where the show uses them: particles on black,
// traces and figures on black, the tree on a pale sky, the pixel field on deep navy.
#include "assets/pictures/CommonInks.h"

#include "assets/pictures/ShowIndex.h"

namespace pictures {

namespace {

void AddFixed(PaletteBuilder& b) {
    b.Fix(show::kTransparent, {0, 0, 0});
    b.Fix(show::kTreeLine, {78, 48, 24});
    const Rgb particles[] = {{150, 40, 22}, {226, 104, 30}, {255, 184, 64}, {255, 246, 196}};
    for (int i = 0; i < show::kParticleCount; ++i) {
        b.Fix(show::kParticleFirst + i, particles[i]);
    }
    const Rgb traces[] = {{255, 70, 70},  {255, 156, 40},  {250, 236, 70}, {90, 232, 90},
                          {70, 222, 232}, {100, 140, 255}, {206, 110, 255}};
    for (int i = 0; i < show::kTraceCount; ++i) {
        b.Fix(show::kTraceFirst + i, traces[i]);
    }
    b.Fix(show::kTreeBackground, {172, 206, 236});
    const Rgb figures[] = {{255, 244, 140}, {140, 255, 170}, {130, 210, 255}, {255, 150, 210},
                           {255, 190, 100}, {190, 255, 100}, {100, 255, 232}, {180, 160, 255},
                           {255, 120, 120}, {236, 236, 255}};
    for (int i = 0; i < show::kFigureCount; ++i) {
        b.Fix(show::kFigureFirst + i, figures[i]);
    }
    b.Fix(show::kInterludeBackground, {14, 16, 46});
}

}  // namespace

CommonInks AddCommonInks(PaletteBuilder& b) {
    AddFixed(b);
    CommonInks k;
    const Block c = Block::Common;
    k.ink = b.Add(c, {{24, 18, 28}}).Darkest();
    k.neutral =
        b.Add(c, Gradient({{44, 44, 54}, {110, 110, 122}, {190, 190, 200}, {255, 255, 255}}, 12));
    k.sky =
        b.Add(c, Gradient({{58, 104, 188}, {112, 164, 228}, {190, 220, 248}, {236, 246, 255}}, 11));
    k.green = b.Add(
        c,
        Gradient({{12, 34, 16}, {28, 78, 30}, {62, 132, 40}, {128, 184, 58}, {206, 232, 124}}, 14));
    k.gold =
        b.Add(c, Gradient({{104, 56, 6}, {196, 124, 10}, {246, 200, 36}, {255, 244, 160}}, 10));
    k.brown = b.Add(c, Gradient({{34, 20, 12}, {84, 50, 24}, {140, 94, 52}, {196, 156, 104}}, 9));
    k.orange = b.Add(
        c, Gradient({{64, 22, 6}, {160, 62, 12}, {232, 122, 28}, {255, 184, 96}, {255, 230, 176}},
                    10));
    k.blue = b.Add(
        c, Gradient({{14, 22, 66}, {30, 60, 150}, {62, 122, 222}, {144, 194, 255}, {214, 236, 255}},
                    10));
    k.tan = b.Add(c, Gradient({{96, 74, 36}, {166, 136, 70}, {214, 190, 122}, {244, 230, 176}}, 9));
    k.rose =
        b.Add(c, Gradient({{104, 28, 40}, {196, 76, 92}, {248, 158, 164}, {255, 214, 206}}, 6));
    b.FillRest(c, {{70, 40, 90}, {150, 100, 170}, {230, 200, 240}});
    return k;
}

}  // namespace pictures
