// Replays the order in which the show sets palettes and loads its pictures, matching every
// picture's colours to the palette in force as the loader does (nearest by squared distance,
// lowest index on ties), and checks what each picture looks like wherever it is shown.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "BmpFile.h"

namespace pictures::testing {

std::uint8_t NearestIndex(const Palette& palette, Rgb colour);

class ShowSimulation {
  public:
    explicit ShowSimulation(const std::map<std::string, BmpFile>& files);

    // Init's palette and its three sprite constructions.
    void Start();
    // Frames of the show from where it stands: image act scenes and figure act.
    void RunFrames(int frames);

    const std::vector<std::string>& Problems() const { return problems_; }
    int Loads() const { return loads_; }
    int Showings() const { return static_cast<int>(shown_.size()); }
    // Which picture was loaded under which palette, in order ("tig256.bmp<flwr256.bmp").
    const std::vector<std::string>& LoadLog() const { return loadLog_; }

  private:
    struct Sprite {
        std::string file;
        std::map<std::uint8_t, std::uint8_t> loadedIndex;  // own index -> index after loading
    };

    void SetPalette(const std::string& file);
    Sprite Construct(const std::string& file);
    void Show(const Sprite& sprite);
    void SceneChange();

    const std::map<std::string, BmpFile>& files_;
    Palette display_{};
    std::string displayFile_;
    int paletteVersion_ = 0;
    Sprite backdrop_;
    Sprite actor_;
    Sprite leaf_;
    int frameCounter_ = 0;
    int scene_ = 0;
    int act_ = 0;
    int loads_ = 0;
    std::set<std::pair<std::string, int>> shown_;
    std::vector<std::string> problems_;
    std::vector<std::string> loadLog_;
};

}  // namespace pictures::testing
