// Slot assignment with duplicate avoidance.
#include "assets/pictures/PaletteBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "assets/pictures/ShowIndex.h"

namespace pictures {

bool InBlock(Block block, int index) {
    if (show::IsFixed(index)) {
        return false;
    }
    return block == Block::Common ? index < kSceneBlockStart : index >= kSceneBlockStart;
}

PaletteBuilder::PaletteBuilder() = default;

void PaletteBuilder::Fix(int index, Rgb colour) {
    if (assigned_[index]) {
        throw std::logic_error("palette slot " + std::to_string(index) + " assigned twice");
    }
    colours_[index] = Unique(colour);
    assigned_[index] = true;
}

bool PaletteBuilder::Contains(Rgb colour) const {
    for (int i = 0; i < 256; ++i) {
        if (assigned_[i] && colours_[i] == colour) {
            return true;
        }
    }
    return false;
}

Rgb PaletteBuilder::Unique(Rgb colour) const {
    if (!Contains(colour)) {
        return colour;
    }
    // Search shells of growing size around the colour, in a fixed order.
    for (int radius = 1; radius < 256; ++radius) {
        for (int dr = -radius; dr <= radius; ++dr) {
            for (int dg = -radius; dg <= radius; ++dg) {
                for (int db = -radius; db <= radius; ++db) {
                    if (std::max({std::abs(dr), std::abs(dg), std::abs(db)}) != radius) {
                        continue;
                    }
                    const int r = colour.r + dr;
                    const int g = colour.g + dg;
                    const int b = colour.b + db;
                    if (r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) {
                        continue;
                    }
                    const Rgb c{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                static_cast<std::uint8_t>(b)};
                    if (!Contains(c)) {
                        return c;
                    }
                }
            }
        }
    }
    throw std::logic_error("no unique colour near a requested one");
}

Ramp PaletteBuilder::Add(Block block, const std::vector<Rgb>& colours) {
    Ramp ramp;
    std::size_t next = 0;
    for (int i = 0; i < 256 && next < colours.size(); ++i) {
        if (!assigned_[i] && InBlock(block, i)) {
            colours_[i] = Unique(colours[next++]);
            assigned_[i] = true;
            ramp.index.push_back(static_cast<std::uint8_t>(i));
        }
    }
    if (next < colours.size()) {
        throw std::logic_error("palette block full");
    }
    return ramp;
}

void PaletteBuilder::FillRest(Block block, std::initializer_list<Rgb> keys) {
    const int n = FreeSlots(block);
    if (n > 0) {
        Add(block, Gradient(keys, n));
    }
}

int PaletteBuilder::FreeSlots(Block block) const {
    int n = 0;
    for (int i = 0; i < 256; ++i) {
        n += (!assigned_[i] && InBlock(block, i)) ? 1 : 0;
    }
    return n;
}

Palette PaletteBuilder::Build() const {
    for (int i = 0; i < 256; ++i) {
        if (!assigned_[i]) {
            throw std::logic_error("palette slot " + std::to_string(i) + " left empty");
        }
    }
    return colours_;
}

}  // namespace pictures
