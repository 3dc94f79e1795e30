// Loading, centring and drawing of a Figure.
#include "figures/figure.h"

#include <cmath>
#include <memory>
#include <string>

#include "figures/figure_constants.h"
#include "figures/line_fit.h"
#include "graphics/screen.h"
#include "platform/win32.h"

namespace {

bool Usable(float value) {
    return std::isfinite(value) && std::fabs(value) <= figures::kMaxCoordinate;
}

bool Usable(const DxfLine& line) {
    return Usable(line.x1) && Usable(line.y1) && Usable(line.x2) && Usable(line.y2);
}

// One line for everything that went wrong with a figure file, on the debugger channel (the error
// output on Linux), where hosts that show the plug-in's diagnostics find it.
void Report(const DxfReader* reader, int lineCount, int skipped, bool cutOff) {
    const char* name = reader != nullptr ? reader->fileName.c_str() : "(none)";
    std::string problem;
    if (reader == nullptr || reader->file == nullptr) {
        problem = "cannot be opened";
    } else if (reader->extentsFound < 2) {
        problem = "does not have both $EXTMIN and $EXTMAX header variables";
    } else if (lineCount == 0 && skipped == 0) {
        problem = "has no LINE entity after its header";
    }
    if (skipped > 0) {
        if (!problem.empty())
            problem += "; ";
        problem += std::to_string(skipped) +
                   " LINE entities with a coordinate that is not a number within +-1000000 "
                   "were dropped";
    }
    if (cutOff) {
        if (!problem.empty())
            problem += "; ";
        problem += "only its first " + std::to_string(figures::kMaxFigureLines) + " lines are kept";
    }
    if (problem.empty())
        return;
    if (lineCount == 0)
        problem += "; the figure draws nothing";
    const std::string line = "tolvek: figure file " + std::string(name) + " " + problem + "\n";
    OutputDebugStringA(line.c_str());
}

}  // namespace

Figure::~Figure() {
    for (int i = 0; i < lines.count; ++i) {
        delete static_cast<DxfEntity*>(lines.MoveNext());
    }
    lines.Clear();
}

void Figure::Load() {
    int skipped = 0;
    bool cutOff = false;
    while (reader != nullptr && !reader->AtEnd()) {
        auto line = std::make_unique<DxfLine>(*reader, figures::kFlipHeight);
        if (!line->found)
            continue;
        if (!Usable(*line)) {
            ++skipped;
            continue;
        }
        if (lines.count == figures::kMaxFigureLines) {
            cutOff = true;
            break;
        }
        lines.Append(line.release());
    }
    Report(reader, lines.count, skipped, cutOff);

    ComputeCentre();
    x = centreX;
    y = centreY;
    for (int i = 0; i < lines.count; ++i) {
        DxfLine* line = lines.MoveNext();
        line->x1 -= static_cast<float>(centreX);
        line->y1 -= static_cast<float>(centreY);
        line->x2 -= static_cast<float>(centreX);
        line->y2 -= static_cast<float>(centreY);
    }
}

void Figure::ComputeCentre() {
    if (lines.count == 0) {
        centreX = centreY = 0;
        return;
    }
    // Each coordinate is added and the sum truncated at once, so fractions drop one at a time.
    // 64-bit sums: a figure's many lines cannot overflow them.
    long long sumX = 0;
    long long sumY = 0;
    lines.MoveFirst();
    for (int i = 0; i < lines.count; ++i) {
        const DxfLine* line = lines.Current();
        sumX = static_cast<long long>(static_cast<double>(sumX) + line->x1);
        sumY = static_cast<long long>(static_cast<double>(sumY) + line->y1);
        sumX = static_cast<long long>(static_cast<double>(sumX) + line->x2);
        sumY = static_cast<long long>(static_cast<double>(sumY) + line->y2);
        lines.MoveNext();
    }
    const long long ends = 2LL * lines.count;
    centreX = static_cast<int>(sumX / ends);
    centreY = static_cast<int>(sumY / ends);
}

void Figure::Draw(float xScale, float yScale, int colour) {
    if (lines.count == 0 || screen == nullptr || screen->backBuffer == nullptr)
        return;
    Surface& surface = *screen->backBuffer;
    surface.Lock();
    const int width = static_cast<int>(surface.desc.dwWidth);
    const int height = static_cast<int>(surface.desc.dwHeight);
    DxfLine* line = lines.MoveFirst();
    for (int i = 0; i < lines.count; ++i) {
        ScreenLine end{};
        if (FitLine(x + static_cast<double>(line->x1) * xScale,
                    y + static_cast<double>(line->y1) * yScale,
                    x + static_cast<double>(line->x2) * xScale,
                    y + static_cast<double>(line->y2) * yScale, width, height, end)) {
            surface.DrawLine(end.x1, end.y1, end.x2, end.y2, colour);
        }
        line = lines.MoveNext();
    }
    surface.Unlock();
}
