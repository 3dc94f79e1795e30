// The show's one module-wide record: every object and counter of the show, and its frame step.
#pragma once

#include <memory>

#include "host/winamp_vis.h"

class AnimatedSprite;
class Figure;
class FractalTree;
class ParticleSwarm;
class PixelField;
class Screen;
class WaveScope;

struct ShowState {
    HWND window = nullptr;
    std::unique_ptr<Screen> screen;
    std::unique_ptr<PixelField> pixelField;
    std::unique_ptr<ParticleSwarm> swarm;
    std::unique_ptr<WaveScope> scope;
    std::unique_ptr<AnimatedSprite> backdrop;
    std::unique_ptr<AnimatedSprite> actor;
    std::unique_ptr<FractalTree> tree;
    std::unique_ptr<Figure> figures[4];

    // The counters live for the whole load of the module; Init never resets them.
    int frameCounter = 0;
    int scene = 0;
    int act = 0;
    int colourShift = 0;
    int flockX[3] = {};
    int flockY[3] = {};
    int flockVX[3] = {10, 10, 10};
    int flockVY[3] = {10, 10, 10};
    int treeDepth = 1;
    int treeUnit = 5;
    static constexpr int colourTable[5] = {143, 144, 145, 146, 99};

    ShowState();
    ~ShowState();
};

extern ShowState showState;

// The whole body of Render: one frame of the current act. Always 0.
int RenderFrame(winampVisModule* module);
// The loudness of a channel, 0 (flat) to 1.
double AudioLevel(const winampVisModule* module, int channel);
void ImageActFrame(winampVisModule* module);
void FigureActFrame(winampVisModule* module);

// The module record the traces read: the host hands every entry point this same record.
winampVisModule* TraceModule();
