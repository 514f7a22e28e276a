#include "TerrainShape.h"

#include "PerlinNoise.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// One grey level is a tenth of a world unit once the game flattens the map.
const float levelsPerUnit = 10.0f;
// The game puts the middle of the terrain's height range this far below the origin.
const float middleHeight = -10.0f;
// Grey levels available: 256, so the whole range spans at most 25.5 units.
const float fullRange = 255.0f / levelsPerUnit;

} // namespace

TerrainShape::TerrainShape() : heights(std::size_t(size) * size), levels(std::size_t(size) * size)
{
    const PerlinNoise hills(0x7e11a1u);
    const PerlinNoise ridges(0x51d6e5u);
    const PerlinNoise bumps(0xb0b5u);

    // The landscape in world units, the gun pad at emplacementHeight. Rows
    // are shared out between two threads; each height depends on its place alone.
    const auto shapeRows = [&](int firstRow, int endRow) {
        for (int row = firstRow; row < endRow; ++row) {
            for (int column = 0; column < size; ++column) {
                const float x = float(column);
                const float z = float(row);
                const float r = distanceFromCentre(x, z);
                // Far off: broad rolling hills, with sharper ridges in the distance.
                float land = -10.0f + 13.0f * hills.fractal(x / 300.0f, z / 300.0f, 6, 2.0f, 0.48f);
                land += 7.0f * smoothstep(150.0f, 400.0f, r) * (ridges.ridged(x / 210.0f + 3.0f, z / 210.0f, 4) - 0.45f);
                // Near by: the turret's hill, a broad dome that falls away from
                // the pad on all sides, its flanks rippled by smaller hills.
                const float dome = emplacementHeight - 0.3f - 9.0f * smoothstep(emplacementRadius, 190.0f, r)
                    + 2.6f * smoothstep(emplacementRadius + 5.0f, 110.0f, r) * hills.fractal(x / 70.0f + 9.0f, z / 70.0f, 4);
                const float nearWeight = 1.0f - smoothstep(90.0f, 260.0f, r);
                land += (dome - land) * nearWeight;
                // Nothing near the gunner rises above the pad.
                if (r < 120.0f)
                    land = std::min(land, emplacementHeight - 0.3f);
                // Hummocks a player sees close by.
                land += 0.4f * smoothstep(emplacementRadius, emplacementRadius + 8.0f, r) * bumps.fractal(x / 19.0f, z / 19.0f, 3);
                // The pad itself is flat; its rim eases into the hillside.
                const float pad = smoothstep(emplacementRadius, emplacementRadius + 6.0f, r);
                heights[index(column, row)] = emplacementHeight + (land - emplacementHeight) * pad;
            }
        }
    };
    std::thread helper(shapeRows, 0, size / 2);
    shapeRows(size / 2, size);
    helper.join();

    // The game centres the height range at middleHeight, so the pad ends up
    // at emplacementHeight only if the range's middle lies there already.
    // Stretching everything about the pad's height moves the middle there
    // without moving the pad.
    const auto [lowest, highest] = std::minmax_element(heights.begin(), heights.end());
    const float middle = 0.5f * (*lowest + *highest);
    float stretch = (middleHeight - emplacementHeight) / (middle - emplacementHeight);
    // Never wider than the grey levels can hold.
    stretch = std::min(stretch, fullRange / (*highest - *lowest));
    const float bottom = emplacementHeight + (*lowest - emplacementHeight) * stretch;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const float height = emplacementHeight + (heights[i] - emplacementHeight) * stretch;
        heights[i] = (height - bottom) * levelsPerUnit;
        const long grey = std::lround(heights[i]);
        levels[i] = static_cast<std::uint8_t>(std::clamp(grey, 0L, 255L));
    }
    const auto [lowLevel, highLevel] = std::minmax_element(levels.begin(), levels.end());
    minLevel = *lowLevel;
    maxLevel = *highLevel;
}

float TerrainShape::smoothLevel(float column, float row) const
{
    column = std::clamp(column, 0.0f, float(size - 1));
    row = std::clamp(row, 0.0f, float(size - 1));
    const int c = std::min(int(column), size - 2);
    const int r = std::min(int(row), size - 2);
    const float u = column - c;
    const float v = row - r;
    const float top = heights[index(c, r)] + (heights[index(c + 1, r)] - heights[index(c, r)]) * u;
    const float bottom = heights[index(c, r + 1)] + (heights[index(c + 1, r + 1)] - heights[index(c, r + 1)]) * u;
    return top + (bottom - top) * v;
}

float TerrainShape::distanceFromCentre(float column, float row)
{
    const float centre = 0.5f * (size - 1);
    return std::hypot(column - centre, row - centre);
}
