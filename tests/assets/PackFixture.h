// The data pack written once into a temporary folder and read back, shared by the tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "assets/pictures/PictureSet.h"

namespace pictures::testing {

struct Pack {
    std::string folder;
    std::vector<Picture> pictures;         // as generated, in memory
    std::map<std::string, BmpFile> files;  // as read back from the folder
};

const Pack& WrittenPack();

inline const std::vector<std::string>& PictureNames() {
    static const std::vector<std::string> names = {"chick256.bmp", "flwr256.bmp", "star256.bmp",
                                                   "hors256.bmp",  "ebrd256.bmp", "sflwr256.bmp",
                                                   "tig256.bmp",   "zeb256.bmp",  "sLeaf.bmp"};
    return names;
}

}  // namespace pictures::testing
