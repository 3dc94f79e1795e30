// TileSheet: a surface loaded from one picture and cut, row by row, into equal tiles.
#pragma once

#include "graphics/surface.h"

class TileSheet : public Surface {
public:
    TileSheet() = default;
    // Loads the picture; a failed load leaves an empty sheet on which every operation does nothing.
    TileSheet(Screen* screen, const char* fileName, int tileWidth, int tileHeight, int tileCount);

    // 1 on success, 0 on failure.
    int Load(Screen* screen, const char* fileName, int tileWidth, int tileHeight, int tileCount);

    int tileWidth = 0;
    int tileHeight = 0;
    int tileCount = 0;
};
