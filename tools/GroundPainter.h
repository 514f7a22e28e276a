#pragma once

#include "PerlinNoise.h"

#include <SColor.h>

#include <vector>

class TerrainShape;

// Paints the ground's colour texture from the land's shape: grass that is
// lush in the valleys and dry on the heights, bare earth on the steeper
// slopes and in patches, rock on the steepest ground, a gravel pad ringed by
// sandbags under the guns, and texel-sized grain so the ground near the
// turret does not look smeared.
class GroundPainter {
public:
    GroundPainter(const TerrainShape& shape, unsigned textureSize);

    // Colour (components 0..255) of texel (x, y) of the texture, which the
    // game stretches once over the whole terrain, row 0 at the top.
    irr::video::SColorf texel(unsigned x, unsigned y) const;

private:
    // The broad patches vary over dozens of texels; they are worked out on a
    // coarse grid once and interpolated, which spares most of the noise.
    float coarse(const std::vector<float>& grid, float x, float y) const;

    const TerrainShape& shape; // the land being painted
    float pixelsPerTexel;      // height map pixels per texel
    PerlinNoise patches;       // where grass gives way to earth, dry or lush
    PerlinNoise detail;        // tufts, stones and mottling
    PerlinNoise streaks;       // wind-combed grass and rock strata
    unsigned gridSize;         // coarse grid points along an edge
    std::vector<float> dryPatches;  // coarse grid: where grass is dry or lush
    std::vector<float> wornPatches; // coarse grid: where the ground is worn to earth
    std::vector<float> scrubPatches; // coarse grid: clumps of scrub
};
