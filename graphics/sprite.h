// Sprite: a position on the target and the frame to show from its own tile sheet.
#pragma once

#include "graphics/tile_sheet.h"

class Screen;

class Sprite {
public:
    Sprite(Screen* screen, const char* fileName, int tileWidth, int tileHeight, int tileCount);
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;
    ~Sprite();

    // Sets the sheet's srcRect to tile `frame` and its dstRect to the tile at (x, y).
    void SelectFrame();

    int x = 0;
    int y = 0;
    int frame = 0;
    TileSheet* tileSheet = nullptr;  // owned
};
