// The show's palette and picture-loading order, replayed.
#include "ShowSimulation.h"

#include <limits>

namespace pictures::testing {

namespace {

const char* const kBackdrops[] = {"chick256.bmp", "flwr256.bmp", "star256.bmp", "hors256.bmp"};
const char* const kActors[] = {"ebrd256.bmp", "sflwr256.bmp", "tig256.bmp", "zeb256.bmp"};
constexpr int kSceneFrames = 720;
constexpr int kFigureActFrames = 1300;

}  // namespace

std::uint8_t NearestIndex(const Palette& palette, Rgb colour) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].r - colour.r;
        const int dg = palette[i].g - colour.g;
        const int db = palette[i].b - colour.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {  // strict: ties keep the lowest index
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<std::uint8_t>(best);
}

ShowSimulation::ShowSimulation(const std::map<std::string, BmpFile>& files) : files_(files) {}

void ShowSimulation::SetPalette(const std::string& file) {
    const auto it = files_.find(file);
    if (it == files_.end()) {
        problems_.push_back("missing picture " + file);
        return;
    }
    display_ = it->second.palette;
    displayFile_ = file;
    ++paletteVersion_;
}

ShowSimulation::Sprite ShowSimulation::Construct(const std::string& file) {
    Sprite s;
    s.file = file;
    const auto it = files_.find(file);
    if (it == files_.end()) {
        problems_.push_back("missing picture " + file);
        return s;
    }
    ++loads_;
    loadLog_.push_back(file + "<" + displayFile_);
    const BmpFile& bmp = it->second;
    for (std::uint8_t own : std::set<std::uint8_t>(bmp.pixels.begin(), bmp.pixels.end())) {
        const std::uint8_t got = NearestIndex(display_, bmp.palette[own]);
        s.loadedIndex[own] = got;
        if (got != own) {
            problems_.push_back(file + " loaded under " + displayFile_ + "'s palette: index " +
                                std::to_string(own) + " became " + std::to_string(got));
        }
    }
    // Building a sprite installs its file's palette.
    SetPalette(file);
    return s;
}

void ShowSimulation::Show(const Sprite& sprite) {
    if (!shown_.insert({sprite.file, paletteVersion_}).second) {
        return;
    }
    const BmpFile& bmp = files_.at(sprite.file);
    for (const auto& [own, loaded] : sprite.loadedIndex) {
        if (!(display_[loaded] == bmp.palette[own])) {
            problems_.push_back(sprite.file + " shown under " + displayFile_ +
                                "'s palette: index " + std::to_string(loaded) +
                                " does not show its colour " + std::to_string(own));
        }
    }
}

void ShowSimulation::Start() {
    SetPalette(kActors[0]);
    backdrop_ = Construct(kBackdrops[0]);
    actor_ = Construct(kActors[0]);
    leaf_ = Construct("sLeaf.bmp");
}

void ShowSimulation::SceneChange() {
    scene_ += 1;
    if (scene_ < 4) {
        actor_ = Construct(kActors[scene_]);
        backdrop_ = Construct(kBackdrops[scene_]);
    } else {
        scene_ = 1;
        act_ = 1;
        actor_ = Construct(kActors[0]);
        backdrop_ = Construct(kBackdrops[0]);
    }
    frameCounter_ = 0;
}

void ShowSimulation::RunFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        const int f = ++frameCounter_;
        if (act_ == 1) {
            // The figure act shows no picture; it hands back to scene 0 when it ends.
            if (f == kFigureActFrames) {
                act_ = 0;
                scene_ = 0;
                frameCounter_ = 0;
            }
            continue;
        }
        if (f < 400) {
            Show(backdrop_);
        } else if (f < 420) {
            Show(actor_);
        } else if (f < kSceneFrames) {
            if (f == 420) {
                SetPalette(kBackdrops[scene_]);
            }
            if (f > 500) {
                Show(leaf_);
            }
            Show(backdrop_);
        } else {
            SceneChange();
        }
    }
}

}  // namespace pictures::testing
