#pragma once

#include <array>
#include <cstdint>

// Smooth gradient noise in two and three dimensions, with fractal sums of
// several octaves. The gradient table comes from a fixed start value, so the
// same start value always gives the same landscape, clouds and textures.
class PerlinNoise {
public:
    explicit PerlinNoise(std::uint32_t startValue);

    // Noise in about -1..1, zero on every integer lattice point.
    float noise(float x, float y) const;
    float noise(float x, float y, float z) const;

    // Sum of `octaves` layers, each `lacunarity` times finer and `gain` times
    // weaker than the one before, divided by the sum of the weights so that
    // the result stays in about -1..1 whatever the number of octaves.
    float fractal(float x, float y, int octaves, float lacunarity = 2.0f, float gain = 0.5f) const;
    float fractal(float x, float y, float z, int octaves, float lacunarity = 2.0f, float gain = 0.5f) const;

    // Like fractal, but folds each layer (1 - |n|) into sharp crests: ridges
    // of rock and veined patterns. Result in about 0..1.
    float ridged(float x, float y, int octaves, float lacunarity = 2.0f, float gain = 0.5f) const;

private:
    int hash(int i) const { return permutation[i & 511]; }

    std::array<std::uint16_t, 512> permutation; // 0..255 shuffled, stored twice to skip wrapping
};
