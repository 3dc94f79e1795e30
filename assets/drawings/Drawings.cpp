// The drawing set and writing it into the data folder.
#include "assets/drawings/Drawings.h"

#include <filesystem>
#include <ostream>

#include "assets/drawings/DxfWriter.h"

namespace drawings {

std::vector<NamedDrawing> MakeDrawings() {
    std::vector<NamedDrawing> all;
    all.push_back({"bird.dxf", MakeBird()});
    all.push_back({"Cock1.dxf", MakeRooster()});
    all.push_back({"Flower1.dxf", MakeFlower()});
    all.push_back({"Horses1.dxf", MakeHorses()});
    return all;
}

bool WriteDrawings(const std::string& folder, std::ostream& errors) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        errors << folder << ": cannot create the folder: " << error.message() << "\n";
        return false;
    }
    bool ok = true;
    for (const auto& [name, drawing] : MakeDrawings()) {
        ok = WriteDxf(drawing, (std::filesystem::path(folder) / name).string(), errors) && ok;
    }
    return ok;
}

}  // namespace drawings
