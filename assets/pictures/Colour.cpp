// Gradients between key colours.
#include "assets/pictures/Colour.h"

#include <cmath>

namespace pictures {

std::vector<Rgb> Gradient(std::initializer_list<Rgb> keys, int n) {
    std::vector<Rgb> stops(keys);
    std::vector<Rgb> out;
    if (n <= 0 || stops.empty()) {
        return out;
    }
    const int segments = static_cast<int>(stops.size()) - 1;
    for (int i = 0; i < n; ++i) {
        const double t = n == 1 ? 0.0 : static_cast<double>(i) * segments / (n - 1);
        const int s = std::min(static_cast<int>(t), std::max(segments - 1, 0));
        const double f = segments == 0 ? 0.0 : t - s;
        const Rgb a = stops[s];
        const Rgb b = stops[std::min(s + 1, segments)];
        auto mix = [f](std::uint8_t x, std::uint8_t y) {
            return static_cast<std::uint8_t>(std::lround(x + (y - x) * f));
        };
        out.push_back({mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)});
    }
    return out;
}

}  // namespace pictures
