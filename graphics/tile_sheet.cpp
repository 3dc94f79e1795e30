// Loading a tile sheet: the whole picture as one surface, cut into tiles only when a frame is
// selected.
#include "graphics/tile_sheet.h"

#include "graphics/bitmap_loading.h"
#include "graphics/screen.h"

TileSheet::TileSheet(Screen* owner, const char* name, int newTileWidth, int newTileHeight,
                     int newTileCount) {
    Load(owner, name, newTileWidth, newTileHeight, newTileCount);
}

int TileSheet::Load(Screen* owner, const char* name, int newTileWidth, int newTileHeight,
                    int newTileCount) {
    if (name == nullptr || owner == nullptr)
        return 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    IDirectDrawSurface* loaded =
        LoadBitmapSurface(owner->directDraw, name, &pictureWidth, &pictureHeight);
    if (loaded == nullptr)
        return 0;
    if (surface != nullptr)
        surface->Release();
    surface = loaded;
    width = pictureWidth;
    height = pictureHeight;
    // The name is borrowed: Restore reloads from it for as long as the sheet lives.
    fileName = name;
    screen = owner;
    tileWidth = newTileWidth;
    tileHeight = newTileHeight;
    tileCount = newTileCount;
    // Until a frame is selected the sheet draws as one whole picture.
    srcRect = dstRect = RECT{0, 0, width, height};
    return 1;
}
