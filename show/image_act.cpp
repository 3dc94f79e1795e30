// The image act: slides, the pixel interlude, the growing tree and the scene changes.
#include "effects/animated_sprite.h"
#include "effects/fractal_tree.h"
#include "effects/pixel_field.h"
#include "effects/show_random.h"
#include "effects/wave_scope.h"
#include "graphics/screen.h"
#include "host/data_files.h"
#include "show/show_state.h"

namespace {

constexpr int kSlidesEnd = 400;
constexpr int kInterludeEnd = 420;
constexpr int kTreeStart = 500;
constexpr int kSceneLength = 720;

std::unique_ptr<AnimatedSprite> MakeActor(Screen* screen, int scene) {
    return std::make_unique<AnimatedSprite>(screen, dataFiles.actorFiles[scene], 240, 180, 6);
}

std::unique_ptr<AnimatedSprite> MakeBackdrop(Screen* screen, int scene) {
    return std::make_unique<AnimatedSprite>(screen, dataFiles.backdropFiles[scene], 640, 480, 2);
}

void AdvanceTree(ShowState& s) {
    s.treeUnit += 1;
    if (s.treeUnit > 6 * s.treeDepth) {
        s.treeDepth += 1;
        s.treeUnit -= 5;
        if (s.treeDepth > 6) {
            s.treeDepth = 1;
            s.treeUnit = 0;
        }
    }
}

void ChangeScene(ShowState& s) {
    s.actor.reset();
    s.backdrop.reset();
    s.treeDepth = 1;
    s.treeUnit = 5;
    s.tree->spread += 1;
    if (s.tree->spread == 4) s.tree->spread = 1;
    s.scene += 1;
    Screen* screen = s.screen.get();
    if (s.scene < 4) {
        s.actor = MakeActor(screen, s.scene);
        s.backdrop = MakeBackdrop(screen, s.scene);
    } else {
        // The fourth scene has ended: the figure act follows, and the sprites wait for scene 0.
        s.scene = 1;
        s.act = 1;
        s.actor = MakeActor(screen, 0);
        s.backdrop = MakeBackdrop(screen, 0);
    }
    s.actor->x = 200;
    s.actor->y = 150;
    s.frameCounter = 0;
}

}  // namespace

void ImageActFrame(winampVisModule* module) {
    ShowState& s = showState;
    const int f = s.frameCounter;
    const int r = ShowRand();
    int colours[2] = {r % 254, r % 254 + 1};

    if (f < kSlidesEnd) {
        // The backdrop covers the whole back buffer, so nothing clears it first.
        s.backdrop->x = 0;
        s.backdrop->y = 0;
        if (f % 6 == 0) {
            s.backdrop->DrawAndStep(1.0f, 1);
        } else {
            s.backdrop->DrawScaled(1.0f);
        }
    } else if (f < kInterludeEnd) {
        s.screen->Clear(255);
        s.pixelField->Draw();
        if (f % 3 == 0) {
            s.actor->PingPong();
        } else {
            s.actor->DrawScaled(1.0f);
        }
    } else if (f < kSceneLength) {
        if (f == kInterludeEnd) s.screen->SetPaletteFromBitmap(dataFiles.backdropFiles[s.scene]);
        s.screen->Clear(125);
        if (f > kTreeStart) {
            if (f % 5 == 0) AdvanceTree(s);
            s.tree->DrawBranch(320, 480, s.treeDepth, 8, s.treeUnit);
        }
        s.backdrop->DrawCentred(static_cast<float>(AudioLevel(module, 0)));
    } else if (f == kSceneLength) {
        ChangeScene(s);
    }

    // After a scene change the counter is 0 again, so the horizontal trace is drawn.
    if (s.frameCounter < kSlidesEnd) {
        s.scope->DrawTrace(TraceModule(), 640, 70, colours[0], 2);
    } else {
        s.scope->DrawRing(module, 320, 240, colours, 2);
    }
    s.screen->Present();
}
