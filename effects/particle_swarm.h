// ParticleSwarm: a fountain of 400 single pixels that start near the centre of their box, speed
// up, brighten as they age and start again once they leave.
#pragma once

#include <array>

#include "effects/effect_constants.h"

class Screen;

struct Particle {
    int x;
    int y;
    int vx;
    int vy;
    int ax;  // added to vx once every `period` updates
    int ay;
    int colour;
    int age;     // updates since the particle (re)started
    int period;  // 1..10
    int tick;    // updates since the last acceleration
};

class ParticleSwarm {
  public:
    // Every particle starts fresh: 3200 values from the show's generator.
    ParticleSwarm(Screen* screen, int colour, int width, int height);

    void RespawnAll();
    // A fresh start near the centre: exactly eight values from the show's generator.
    void Respawn(int index);
    void Update();
    // All 400 pixels inside one lock of the back buffer.
    void Draw();

    int width = 0;
    int height = 0;
    int baseColour = 0;
    std::array<Particle, kParticleCount> particles{};
    Screen* screen = nullptr;  // not owned
};
