// tolvek-make-pictures: writes the data pack's nine pictures, and on request a contact sheet.
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "assets/pictures/ContactSheet.h"
#include "assets/pictures/PictureSet.h"

int main(int argc, char** argv) {
    std::string folder;
    std::string sheet;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc) {
            sheet = argv[++i];
        } else if (argv[i][0] != '-' && folder.empty()) {
            folder = argv[i];
        } else {
            folder.clear();
            sheet.clear();
            break;
        }
    }
    if (folder.empty() && sheet.empty()) {
        std::cerr << "usage: tolvek-make-pictures [--contact-sheet FILE.png] [OUTDIR]\n";
        return 2;
    }
    try {
        const auto all = pictures::MakePictures();
        if (!folder.empty() && !pictures::WritePictures(all, folder, std::cerr)) {
            return 1;
        }
        if (!sheet.empty() &&
            !pictures::WritePng(pictures::RenderContactSheet(all), sheet, std::cerr)) {
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "tolvek-make-pictures: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
