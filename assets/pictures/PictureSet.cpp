// Builds the scene palettes and lays the frames out as tile sheets.
#include "assets/pictures/PictureSet.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <utility>

#include "assets/pictures/Art.h"
#include "assets/pictures/Bmp.h"

namespace pictures {

namespace {

// Tiles are read left to right, then top to bottom.
Picture Sheet(std::string name, const std::vector<Canvas>& frames, int tilesPerRow,
              const Palette& palette) {
    Picture p;
    p.fileName = std::move(name);
    p.tileWidth = frames.front().Width();
    p.tileHeight = frames.front().Height();
    p.tileCount = static_cast<int>(frames.size());
    const int rows = (p.tileCount + tilesPerRow - 1) / tilesPerRow;
    Canvas sheet(p.tileWidth * tilesPerRow, p.tileHeight * rows);
    for (int i = 0; i < p.tileCount; ++i) {
        sheet.Blit(frames[i], (i % tilesPerRow) * p.tileWidth, (i / tilesPerRow) * p.tileHeight);
    }
    p.width = sheet.Width();
    p.height = sheet.Height();
    p.pixels = sheet.Pixels();
    p.palette = palette;
    return p;
}

using BackdropFn = std::vector<Canvas> (*)(PaletteBuilder&, const CommonInks&);
using ActorFn = std::vector<Canvas> (*)(const CommonInks&);

struct SceneFiles {
    const char* backdrop;
    BackdropFn drawBackdrop;
    const char* actor;
    ActorFn drawActor;
};

constexpr SceneFiles kScenes[] = {
    {"chick256.bmp", DrawChickBackdrop, "ebrd256.bmp", DrawBirdActor},
    {"flwr256.bmp", DrawFlowerBackdrop, "sflwr256.bmp", DrawSunflowerActor},
    {"star256.bmp", DrawStarBackdrop, "tig256.bmp", DrawTigerActor},
    {"hors256.bmp", DrawHorseBackdrop, "zeb256.bmp", DrawZebraActor},
};

}  // namespace

std::vector<Picture> MakePictures() {
    PaletteBuilder common;
    const CommonInks inks = AddCommonInks(common);
    std::vector<Picture> backdrops;
    std::vector<Picture> actors;
    Palette firstScene{};
    for (const SceneFiles& scene : kScenes) {
        // A scene's backdrop and actor share one palette: the shared block plus the scene's own.
        PaletteBuilder builder = common;
        const std::vector<Canvas> frames = scene.drawBackdrop(builder, inks);
        const Palette palette = builder.Build();
        if (backdrops.empty()) {
            firstScene = palette;
        }
        backdrops.push_back(Sheet(scene.backdrop, frames, kBackdropFrames, palette));
        actors.push_back(Sheet(scene.actor, scene.drawActor(inks), 2, palette));
    }
    std::vector<Picture> all = backdrops;
    all.insert(all.end(), actors.begin(), actors.end());
    // The leaf's palette is the one on screen through the first scene's opening, so it is
    // that scene's.
    all.push_back(Sheet("sLeaf.bmp", {DrawLeaf(inks)}, 1, firstScene));
    return all;
}

std::vector<std::uint8_t> EncodePicture(const Picture& p) {
    return EncodeBmp(p.width, p.height, p.pixels, p.palette);
}

bool WritePictures(const std::vector<Picture>& pictures, const std::string& folder,
                   std::ostream& errors) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const Picture& p : pictures) {
        const std::filesystem::path path = std::filesystem::path(folder) / p.fileName;
        const std::vector<std::uint8_t> bytes = EncodePicture(p);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            errors << path.string() << ": cannot write the picture\n";
            return false;
        }
    }
    return true;
}

}  // namespace pictures
