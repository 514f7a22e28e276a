#pragma once

#include "PerlinNoise.h"

#include <SColor.h>

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
    const TerrainShape& shape; // the land being painted
    float pixelsPerTexel;      // height map pixels per texel
    PerlinNoise patches;       // where grass gives way to earth, dry or lush
    PerlinNoise detail;        // tufts, stones and mottling
    PerlinNoise streaks;       // wind-combed grass and rock strata
};
