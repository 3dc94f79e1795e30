// The colours every palette shares: the show's fixed indices, the actors' and the leaf's ramps.
#pragma once

#include "assets/pictures/PaletteBuilder.h"

namespace pictures {

struct CommonInks {
    std::uint8_t ink = 0;  // outline, near black but not the transparent black
    Ramp neutral;          // dark grey to white
    Ramp sky;              // deep to pale blue
    Ramp green;            // foliage
    Ramp gold;             // petals, beaks
    Ramp brown;            // bark, seeds, earth
    Ramp orange;           // tiger fur, a robin's breast
    Ramp blue;             // bluebird
    Ramp tan;              // dry grass
    Ramp rose;             // noses, tongues, blossoms
};

// Fills the fixed indices and the shared block; the builder is then copied for every scene.
CommonInks AddCommonInks(PaletteBuilder& builder);

}  // namespace pictures
