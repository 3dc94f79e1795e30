// The particle swarm: respawning from the show's generator, the update step and the frame.
#include "effects/particle_swarm.h"

#include "effects/show_random.h"
#include "graphics/screen.h"

namespace {

// A velocity component of 1..5 pixels per update: the sign and the size are two separate draws.
int RandomVelocity() {
    if (ShowRand() % 2 == 1)
        return -1 - (4 * ShowRand()) % 5;
    return (4 * ShowRand()) % 5 + 1;
}

// Ages at which a particle brightens by one palette step.
bool IsBrighteningAge(int age) {
    return age == 10 || age == 20 || age == 50;
}

}  // namespace

ParticleSwarm::ParticleSwarm(Screen* owner, int colour, int boxWidth, int boxHeight)
    : width(boxWidth), height(boxHeight), baseColour(colour), screen(owner) {
    RespawnAll();
}

void ParticleSwarm::RespawnAll() {
    for (int i = 0; i < kParticleCount; ++i)
        Respawn(i);
}

void ParticleSwarm::Respawn(int index) {
    Particle& p = particles[index];
    const int half = kParticleStartSquare / 2;
    p.x = ShowRand() % kParticleStartSquare + (width >> 1) - half;
    p.y = ShowRand() % kParticleStartSquare + (height >> 1) - half;
    p.vx = RandomVelocity();
    p.vy = RandomVelocity();
    // One divisor for both axes; integer division truncates toward zero, so a slow particle can
    // get no acceleration at all on an axis. Intended.
    const int divisor = ShowRand() % 5 + 1;
    p.ax = p.vx / divisor;
    p.ay = p.vy / divisor;
    p.colour = baseColour;
    p.age = 0;
    p.period = ShowRand() % 10 + 1;
    p.tick = 0;
}

void ParticleSwarm::Update() {
    for (int i = 0; i < kParticleCount; ++i) {
        Particle& p = particles[i];
        p.x += p.vx;
        p.y += p.vy;
        if (p.x >= width || p.x < 0 || p.y >= height || p.y < 0)
            Respawn(i);
        // A particle respawned just now still ticks and ages in this same update.
        if (++p.tick == p.period) {
            p.tick = 0;
            p.vx += p.ax;
            p.vy += p.ay;
        }
        if (IsBrighteningAge(++p.age))
            ++p.colour;
    }
}

void ParticleSwarm::Draw() {
    Surface* target = screen->backBuffer;
    target->Lock();
    for (const Particle& p : particles)
        target->PutPixel(p.x, p.y, p.colour);
    target->Unlock();
}
