#include "PerlinNoise.h"

#include <cmath>

namespace {

float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

// Dot product of the offset with one of eight evenly spread unit gradients.
float gradient2(int hash, float x, float y)
{
    static const float diagonal = 0.70710678f;
    switch (hash & 7) {
    case 0: return x;
    case 1: return -x;
    case 2: return y;
    case 3: return -y;
    case 4: return (x + y) * diagonal;
    case 5: return (x - y) * diagonal;
    case 6: return (-x + y) * diagonal;
    default: return (-x - y) * diagonal;
    }
}

// The twelve edge directions of a cube, the classic choice for 3D noise.
float gradient3(int hash, float x, float y, float z)
{
    switch (hash % 12) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
    }
}

} // namespace

PerlinNoise::PerlinNoise(std::uint32_t startValue)
{
    for (int i = 0; i < 256; ++i)
        permutation[i] = static_cast<std::uint16_t>(i);
    // Our own generator and shuffle: the standard library's distributions may
    // differ between library versions, and the files must not.
    std::uint32_t state = startValue * 2654435761u + 0x9E3779B9u;
    for (int i = 255; i > 0; --i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const int j = static_cast<int>(state % static_cast<std::uint32_t>(i + 1));
        const std::uint16_t swap = permutation[i];
        permutation[i] = permutation[j];
        permutation[j] = swap;
    }
    for (int i = 0; i < 256; ++i)
        permutation[256 + i] = permutation[i];
}

float PerlinNoise::noise(float x, float y) const
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx) & 255;
    const int iy = static_cast<int>(fy) & 255;
    x -= fx;
    y -= fy;
    const float u = fade(x);
    const float v = fade(y);
    const int a = hash(ix) + iy;
    const int b = hash(ix + 1) + iy;
    const float bottom = lerp(gradient2(hash(a), x, y), gradient2(hash(b), x - 1.0f, y), u);
    const float top = lerp(gradient2(hash(a + 1), x, y - 1.0f), gradient2(hash(b + 1), x - 1.0f, y - 1.0f), u);
    // Scaled so that the extremes come close to -1 and 1.
    return lerp(bottom, top, v) * 1.41f;
}

float PerlinNoise::noise(float x, float y, float z) const
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float fz = std::floor(z);
    const int ix = static_cast<int>(fx) & 255;
    const int iy = static_cast<int>(fy) & 255;
    const int iz = static_cast<int>(fz) & 255;
    x -= fx;
    y -= fy;
    z -= fz;
    const float u = fade(x);
    const float v = fade(y);
    const float w = fade(z);
    const int a = hash(ix) + iy;
    const int aa = hash(a) + iz;
    const int ab = hash(a + 1) + iz;
    const int b = hash(ix + 1) + iy;
    const int ba = hash(b) + iz;
    const int bb = hash(b + 1) + iz;
    const float near = lerp(lerp(gradient3(hash(aa), x, y, z), gradient3(hash(ba), x - 1, y, z), u),
                            lerp(gradient3(hash(ab), x, y - 1, z), gradient3(hash(bb), x - 1, y - 1, z), u), v);
    const float far = lerp(lerp(gradient3(hash(aa + 1), x, y, z - 1), gradient3(hash(ba + 1), x - 1, y, z - 1), u),
                           lerp(gradient3(hash(ab + 1), x, y - 1, z - 1), gradient3(hash(bb + 1), x - 1, y - 1, z - 1), u), v);
    return lerp(near, far, w);
}

float PerlinNoise::fractal(float x, float y, int octaves, float lacunarity, float gain) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        // Each octave is shifted so that the lattice zeros of the layers never line up.
        sum += weight * noise(x + 17.31f * i, y - 9.77f * i);
        total += weight;
        weight *= gain;
        x *= lacunarity;
        y *= lacunarity;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

float PerlinNoise::fractal(float x, float y, float z, int octaves, float lacunarity, float gain) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * noise(x + 17.31f * i, y - 9.77f * i, z + 4.13f * i);
        total += weight;
        weight *= gain;
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

float PerlinNoise::ridged(float x, float y, int octaves, float lacunarity, float gain) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        const float crest = 1.0f - std::fabs(noise(x + 17.31f * i, y - 9.77f * i));
        sum += weight * crest * crest;
        total += weight;
        weight *= gain;
        x *= lacunarity;
        y *= lacunarity;
    }
    return total > 0.0f ? sum / total : 0.0f;
}
