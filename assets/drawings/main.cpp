// tolvek-make-drawings: writes the data pack's four DXF line drawings into a folder.
#include <iostream>

#include "assets/drawings/Drawings.h"

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: tolvek-make-drawings OUTDIR\n";
        return 2;
    }
    return drawings::WriteDrawings(argv[1], std::cerr) ? 0 : 1;
}
