// Sprite: owns its tile sheet and turns its frame number into the sheet's source rectangle.
#include "graphics/sprite.h"

Sprite::Sprite(Screen* screen, const char* fileName, int tileWidth, int tileHeight, int tileCount) {
    if (fileName == nullptr)
        return;
    x = 0;
    y = 0;
    frame = 0;
    // A failed load still leaves the sprite with its (empty) sheet.
    tileSheet = new TileSheet(screen, fileName, tileWidth, tileHeight, tileCount);
}

Sprite::~Sprite() {
    delete tileSheet;
    tileSheet = nullptr;
}

void Sprite::SelectFrame() {
    if (tileSheet == nullptr)
        return;
    TileSheet& s = *tileSheet;
    const int tilesPerRow = s.tileWidth > 0 ? s.width / s.tileWidth : 0;
    if (tilesPerRow > 0) {
        const int left = (frame % tilesPerRow) * s.tileWidth;
        const int top = (frame / tilesPerRow) * s.tileHeight;
        s.srcRect = RECT{left, top, left + s.tileWidth, top + s.tileHeight};
    } else {
        // A sheet narrower than one tile (or an empty one) has no frame to show: an empty
        // source rectangle, which every copy refuses.
        s.srcRect = RECT{0, 0, 0, 0};
    }
    s.dstRect = RECT{x, y, x + s.tileWidth, y + s.tileHeight};
}
