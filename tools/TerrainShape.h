#pragma once

#include <cstdint>
#include <vector>

// The landscape round the turret as a square grid of heights, one per vertex
// of the game's terrain: a flat emplacement for the guns on a broad hilltop,
// rolling hills and valleys round it, all lying below the gunner's eye within
// 100 units. The game flattens the height map to a tenth and centres its
// bounding box at (0, -10, 0); the heights here are chosen so that after that
// the emplacement lies about 2 units below the guns' pivot at the origin.
class TerrainShape {
public:
    TerrainShape();

    // Grey level 0..255 of the height map at a pixel (row 0 at the top).
    std::uint8_t level(int column, int row) const { return levels[index(column, row)]; }
    const std::vector<std::uint8_t>& greyLevels() const { return levels; }
    // The height before rounding to grey levels, interpolated between
    // pixels, in grey levels: smooth slopes for painting the ground.
    float smoothLevel(float column, float row) const;

    // World height of a grey level in the game, where the height map is
    // scaled by 0.1 in Y and its bounding box centre is put 10 units below
    // the origin: the centre's height depends on the lowest and highest level.
    float worldHeight(float greyLevel) const { return 0.1f * (greyLevel - 0.5f * (minLevel + maxLevel)) - 10.0f; }

    // Distance in world units (one unit per pixel) from the map's centre,
    // which the game puts under the turret.
    static float distanceFromCentre(float column, float row);

    static const int size = 1025;               // pixels along each edge, one per terrain vertex
    static constexpr float emplacementHeight = -2.0f; // world height of the gun pad
    static constexpr float emplacementRadius = 10.0f; // the pad's flat part, in world units

private:
    static int index(int column, int row) { return row * size + column; }

    std::vector<float> heights;        // heights in grey levels before rounding, row after row
    std::vector<std::uint8_t> levels;  // the height map's grey levels, row after row
    int minLevel;                      // lowest grey level in the map
    int maxLevel;                      // highest grey level in the map
};
