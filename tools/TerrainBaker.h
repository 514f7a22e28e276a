#pragma once

#include <string>

class TerrainShape;

// Bakes the terrain: the grey height map the engine builds the land from, and
// the colour texture stretched once over the whole of it, painted from the
// same heights (grass, earth and rock by height and slope, a gravel pad for
// the guns) with fine grain so the ground near the turret is not a blur.
class TerrainBaker {
public:
    static bool bake(const std::string& resDir);

    static const unsigned textureSize = 2048; // edge of the colour texture in pixels

private:
    static bool writeHeightMap(const TerrainShape& shape, const std::string& path);
    static bool writeTexture(const TerrainShape& shape, const std::string& path);
};
