// The end point guard between a figure's floating-point lines and Surface::DrawLine.
#include "figures/line_fit.h"

#include <algorithm>
#include <cmath>

#include "figures/figure_constants.h"

namespace {

struct Box {
    double left;
    double top;
    double right;
    double bottom;

    bool Holds(double x, double y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

// Liang-Barsky: cuts the segment to the box; false if nothing of it is inside.
bool ClipToBox(const Box& box, double& x1, double& y1, double& x2, double& y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double enter = 0.0;
    double leave = 1.0;
    auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) {
            if (t > leave)
                return false;
            enter = std::max(enter, t);
        } else {
            if (t < enter)
                return false;
            leave = std::min(leave, t);
        }
        return true;
    };
    if (!edge(-dx, x1 - box.left) || !edge(dx, box.right - x1) || !edge(-dy, y1 - box.top) ||
        !edge(dy, box.bottom - y1)) {
        return false;
    }
    const double startX = x1;
    const double startY = y1;
    x1 = std::clamp(startX + enter * dx, box.left, box.right);
    y1 = std::clamp(startY + enter * dy, box.top, box.bottom);
    x2 = std::clamp(startX + leave * dx, box.left, box.right);
    y2 = std::clamp(startY + leave * dy, box.top, box.bottom);
    return true;
}

}  // namespace

bool FitLine(double x1, double y1, double x2, double y2, int width, int height, ScreenLine& line) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return false;
    }
    const Box band{-figures::kDrawMargin, -figures::kDrawMargin,
                   static_cast<double>(width) + figures::kDrawMargin,
                   static_cast<double>(height) + figures::kDrawMargin};
    if (!band.Holds(x1, y1) || !band.Holds(x2, y2)) {
        if (!ClipToBox(band, x1, y1, x2, y2))
            return false;
    }
    line = {static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2)};
    // DrawLine truncates its running coordinate toward zero, so an end at -1 can still put a
    // pixel on column 0, and one at width on the last column; one more step is safely outside.
    return !(std::max(line.x1, line.x2) < -1 || std::min(line.x1, line.x2) > width ||
             std::max(line.y1, line.y2) < -1 || std::min(line.y1, line.y2) > height);
}
