// AnimatedSprite: plays the tiles of an image strip forward, backward or back and forth, scaled,
// centred or copied with index 0 transparent.
#pragma once

#include "graphics/sprite.h"

class Screen;
class Surface;

class AnimatedSprite : public Sprite {
public:
    // Loads the strip, then makes its palette the display palette and keys index 0.
    AnimatedSprite(Screen* screen, const char* fileName, int tileWidth, int tileHeight,
                   int tileCount);

    void SelectFrame();
    HRESULT DrawScaled(float scale);
    void DrawAndStep(float scale, int forwardStep);
    HRESULT DrawKeyed(Surface* target);
    void PingPong();
    HRESULT DrawCentred(float scale);

    Screen* screen = nullptr;  // not owned
    int forward = 1;
};
