// Assigns colours to palette slots: the show's fixed indices, a block shared by every palette and
// a block that each scene fills with its own colours.
#pragma once

#include <array>

#include "assets/pictures/Colour.h"

namespace pictures {

enum class Block { Common, Scene };

// Indices below this (fixed ones aside) belong to the shared block; the fixed indices above it
// are shared too.
constexpr int kSceneBlockStart = 112;

bool InBlock(Block block, int index);

class PaletteBuilder {
  public:
    PaletteBuilder();

    void Fix(int index, Rgb colour);
    // Takes the next free slots of the block, in order; a colour already in the palette is
    // nudged by one step so that no colour appears twice.
    Ramp Add(Block block, const std::vector<Rgb>& colours);
    void FillRest(Block block, std::initializer_list<Rgb> keys);
    int FreeSlots(Block block) const;
    // Every slot must be assigned.
    Palette Build() const;

  private:
    Rgb Unique(Rgb colour) const;
    bool Contains(Rgb colour) const;

    Palette colours_{};
    std::array<bool, 256> assigned_{};
};

}  // namespace pictures
