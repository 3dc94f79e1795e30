// The show's one pseudo-random generator: the classic C-runtime sequence with values 0..32767.
#pragma once

#include <cstdint>

// Every part of the show draws from this one module-wide generator; nothing uses the C library's
// rand, so a run seeded from a fixed clock replays frame for frame.
int ShowRand();
void ShowSrand(std::uint32_t seed);
// Seeds the generator from the platform's calendar time in seconds (a host can fix that clock).
void ShowSrandFromClock();

// The generator's state, for tests and for replaying a run from a known point (ShowSrand sets
// it back).
std::uint32_t ShowRandState();

// The state before any seeding.
inline constexpr std::uint32_t kShowRandInitialState = 1;
