// The four line drawings of the data pack, as the show names them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "assets/drawings/Drawing.h"

namespace drawings {

// Each fits the 640 x 480 screen once its y is mirrored about 480.
Drawing MakeBird();
Drawing MakeRooster();
Drawing MakeFlower();
Drawing MakeHorses();

struct NamedDrawing {
    std::string fileName;
    Drawing drawing;
};

// bird.dxf, Cock1.dxf, Flower1.dxf, Horses1.dxf, in the show's order.
std::vector<NamedDrawing> MakeDrawings();
bool WriteDrawings(const std::string& folder, std::ostream& errors);

}  // namespace drawings
