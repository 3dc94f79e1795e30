// AnimatedSprite: draws the current tile scaled, centred or keyed, and steps forward, backward or
// back and forth through the strip.
#include "effects/animated_sprite.h"

#include "graphics/screen.h"

namespace {

// Coordinates come from doubles by truncation toward zero, never by rounding.
int Truncate(double value) {
    return static_cast<int>(value);
}

}  // namespace

AnimatedSprite::AnimatedSprite(Screen* owner, const char* fileName, int tileWidth, int tileHeight,
                               int tileCount)
    : Sprite(owner, fileName, tileWidth, tileHeight, tileCount) {
    screen = owner;
    // The picture above was matched to the palette in force before this one replaces it.
    if (screen != nullptr)
        screen->SetPaletteFromBitmap(fileName);
    forward = 1;
    if (tileSheet != nullptr)
        tileSheet->SetColorKey(0);
}

void AnimatedSprite::SelectFrame() {
    Sprite::SelectFrame();
}

HRESULT AnimatedSprite::DrawScaled(float scale) {
    if (tileSheet == nullptr || screen == nullptr)
        return DDERR_NOTINITIALIZED;
    SelectFrame();
    tileSheet->dstRect.bottom = Truncate(tileSheet->tileHeight * static_cast<double>(scale) + y);
    tileSheet->dstRect.right = Truncate(tileSheet->tileWidth * static_cast<double>(scale) + x);
    return tileSheet->Draw(screen->backBuffer);
}

void AnimatedSprite::DrawAndStep(float scale, int forwardStep) {
    DrawScaled(scale);
    const int count = tileSheet != nullptr ? tileSheet->tileCount : 0;
    // Compared with >= and kept at 0 on an empty strip, so the frame never leaves the strip.
    if (forwardStep != 0) {
        if (++frame >= count)
            frame = 0;
    } else if (--frame < 0) {
        frame = count > 0 ? count - 1 : 0;
    }
}

HRESULT AnimatedSprite::DrawKeyed(Surface* target) {
    if (tileSheet == nullptr)
        return DDERR_NOTINITIALIZED;
    SelectFrame();
    return tileSheet->DrawKeyedAt(x, y, target);
}

void AnimatedSprite::PingPong() {
    DrawAndStep(1.0f, forward);
    const int count = tileSheet != nullptr ? tileSheet->tileCount : 0;
    // The lower turn lands on 0, the upper on count - 2, so tile 0 shows twice in a row and the
    // top tile once. A strip of fewer than two tiles turns on tile 0.
    if (frame == 0 && forward != 0) {
        forward = 0;
        frame = count >= 2 ? count - 2 : 0;
    } else if (frame == count - 1 && forward == 0) {
        forward = 1;
        frame = 0;
    }
}

HRESULT AnimatedSprite::DrawCentred(float scale) {
    if (tileSheet == nullptr || screen == nullptr)
        return DDERR_NOTINITIALIZED;
    // The screen's sizes are read as unsigned values and the products formed in double.
    const double screenWidth = static_cast<unsigned>(screen->width);
    const double screenHeight = static_cast<unsigned>(screen->height);
    x = Truncate((screenWidth - tileSheet->tileWidth * static_cast<double>(scale)) * 0.5);
    y = Truncate((screenHeight - tileSheet->tileHeight * static_cast<double>(scale)) * 0.5);
    return DrawScaled(scale);
}
