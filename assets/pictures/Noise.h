// Deterministic value noise and a small random generator, so every build draws the same picture.
#pragma once

#include <cstdint>

namespace pictures {

// Smooth noise in [0, 1] over the plane; seed picks an independent field.
float ValueNoise(float x, float y, std::uint32_t seed);
// Sum of octaves of ValueNoise, in [0, 1].
float FractalNoise(float x, float y, std::uint32_t seed, int octaves);

// A fixed sequence of numbers for scattering grass, stars and spots.
class Scatter {
  public:
    explicit Scatter(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    std::uint32_t Next();
    float Uniform(float lo, float hi);  // in [lo, hi)

  private:
    std::uint32_t state_;
};

}  // namespace pictures
