// Writes the pack into a fresh temporary folder on first use.
#include "PackFixture.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace pictures::testing {

const Pack& WrittenPack() {
    static const Pack pack = [] {
        Pack p;
        const auto base = std::filesystem::temp_directory_path();
        std::filesystem::path dir;
        for (int i = 0;; ++i) {
            dir = base / ("tolvek-pictures-test-" + std::to_string(i));
            if (std::filesystem::create_directory(dir)) {
                break;
            }
        }
        p.folder = dir.string();
        p.pictures = MakePictures();
        if (!WritePictures(p.pictures, p.folder, std::cerr)) {
            throw std::runtime_error("cannot write the pack to " + p.folder);
        }
        for (const Picture& pic : p.pictures) {
            const auto parsed = ParseBmp(ReadFileBytes((dir / pic.fileName).string()));
            if (parsed) {
                p.files.emplace(pic.fileName, *parsed);
            }
        }
        std::filesystem::remove_all(dir);
        return p;
    }();
    return pack;
}

}  // namespace pictures::testing
