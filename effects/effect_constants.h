// Fixed values shared by the visual effects.
#pragma once

// One degree with pi taken as 3.141592653 (3.141592653 / 180), not the exact pi / 180: the tables
// built from it hold tiny non-zero values where an exact table holds 0, and the show relies on the
// one-pixel offsets those give.
inline constexpr double kShowDegree = 0.017453292516666667;

// Points of the pixel field.
inline constexpr int kPixelFieldPoints = 10000;

// Channels the host's waveform record holds, whatever nCh says.
inline constexpr int kWaveformChannels = 2;
// 1/576 as a double: width times this is the trace's pixels per sample.
inline constexpr double kOneOverWaveformSamples = 0.001736111111111111;
// Samples of channel 0 the ring lays out, one per degree.
inline constexpr int kRingSamples = 360;

// Particles of the swarm and the square around the centre they start in.
inline constexpr int kParticleCount = 400;
inline constexpr int kParticleStartSquare = 40;

// Compass directions of the tree (steps of 22.5 degrees) and the leaf picture's tile.
inline constexpr int kTreeDirections = 16;
inline constexpr int kLeafTileSize = 32;
// The leaf's top-left corner sits this far up and left of its point, not centred on it.
inline constexpr int kLeafOffset = 8;
