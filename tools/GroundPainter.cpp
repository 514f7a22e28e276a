#include "GroundPainter.h"

#include "TerrainShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using irr::video::SColorf;

namespace {

SColorf mix(const SColorf& a, const SColorf& b, float t)
{
    return SColorf(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 1.0f);
}

SColorf scaled(const SColorf& c, float f)
{
    return SColorf(c.r * f, c.g * f, c.b * f, 1.0f);
}

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Texel-sized grain: a fixed scatter in -1..1 that no smooth noise gives.
float grain(unsigned x, unsigned y)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return (h & 0xffffu) / 32767.5f - 1.0f;
}

// The game lights the land with one sun and no ambient light, which leaves
// level ground at about 70 % of its texture, so the colours are a little bright.
const SColorf lushGrass(78.0f, 118.0f, 46.0f);
const SColorf dryGrass(130.0f, 134.0f, 66.0f);
const SColorf darkGrass(50.0f, 84.0f, 36.0f);
const SColorf earth(118.0f, 100.0f, 76.0f);
const SColorf rock(134.0f, 128.0f, 118.0f);
const SColorf darkRock(86.0f, 82.0f, 78.0f);
const SColorf gravel(140.0f, 132.0f, 118.0f);
const SColorf sandbags(158.0f, 142.0f, 104.0f);

// Texels between the points of the coarse grid.
const unsigned gridStep = 4;

} // namespace

GroundPainter::GroundPainter(const TerrainShape& shape, unsigned textureSize)
    : shape(shape), pixelsPerTexel(float(TerrainShape::size - 1) / textureSize), patches(0x9a7c4u),
      detail(0x5e7b1eu), streaks(0xd1a7u), gridSize(textureSize / gridStep + 2)
{
    dryPatches.resize(std::size_t(gridSize) * gridSize);
    wornPatches.resize(dryPatches.size());
    scrubPatches.resize(dryPatches.size());
    for (unsigned j = 0; j < gridSize; ++j) {
        for (unsigned i = 0; i < gridSize; ++i) {
            const float column = i * gridStep * pixelsPerTexel;
            const float row = j * gridStep * pixelsPerTexel;
            dryPatches[j * gridSize + i] = patches.fractal(column / 80.0f, row / 80.0f, 3);
            wornPatches[j * gridSize + i] = patches.fractal(column / 45.0f + 40.0f, row / 45.0f, 3);
            scrubPatches[j * gridSize + i] = streaks.fractal(column / 24.0f - 25.0f, row / 24.0f, 3);
        }
    }
}

float GroundPainter::coarse(const std::vector<float>& grid, float x, float y) const
{
    x /= gridStep;
    y /= gridStep;
    const unsigned i = std::min(unsigned(x), gridSize - 2);
    const unsigned j = std::min(unsigned(y), gridSize - 2);
    const float u = x - i;
    const float v = y - j;
    const float* top = &grid[j * gridSize + i];
    const float* bottom = top + gridSize;
    return (top[0] + (top[1] - top[0]) * u) * (1.0f - v) + (bottom[0] + (bottom[1] - bottom[0]) * u) * v;
}

SColorf GroundPainter::texel(unsigned x, unsigned y) const
{
    // The texture and the height map share their orientation: texel rows and
    // columns run the same way as the map's.
    const float column = (x + 0.5f) * pixelsPerTexel;
    const float row = (y + 0.5f) * pixelsPerTexel;
    const float here = shape.smoothLevel(column, row);
    // Slope and curvature in world units (a grey level is a tenth of a unit).
    const float east = shape.smoothLevel(column + 1.0f, row);
    const float west = shape.smoothLevel(column - 1.0f, row);
    const float south = shape.smoothLevel(column, row + 1.0f);
    const float north = shape.smoothLevel(column, row - 1.0f);
    const float slope = 0.05f * std::hypot(east - west, south - north);
    const float hollow = 0.1f * (east + west + south + north - 4.0f * here);
    const float height = shape.worldHeight(here);

    // Grass, lush low down, drier on the heights and in broad patches.
    const float dryness = std::clamp(0.45f + 0.07f * (height + 7.0f) + 1.1f * coarse(dryPatches, float(x), float(y)), 0.0f, 1.0f);
    SColorf ground = mix(lushGrass, dryGrass, dryness);
    // Clumps of scrub and low bushes, dark enough to show from afar.
    const float scrub = smoothstep(0.2f, 0.42f, coarse(scrubPatches, float(x), float(y)));
    ground = mix(ground, scaled(darkGrass, 0.8f), 0.75f * scrub);
    const float tufts = detail.fractal(column / 2.3f, row / 2.3f, 2);
    ground = mix(ground, darkGrass, std::clamp(0.3f + 0.6f * tufts, 0.0f, 0.8f));
    // Grass combed by the wind: faint streaks.
    ground = scaled(ground, 1.0f + 0.07f * streaks.noise(column / 0.9f, row / 5.0f));

    // Bare earth on steeper ground and in worn patches.
    const float worn = smoothstep(0.42f, 0.62f, coarse(wornPatches, float(x), float(y)) + 0.15f * tufts);
    const float earthCover = std::max(worn, smoothstep(0.09f, 0.15f, slope + 0.03f * tufts));
    if (earthCover > 0.0f) {
        const SColorf soil = scaled(earth, 0.85f + 0.2f * detail.noise(column / 1.4f + 7.0f, row / 1.4f));
        ground = mix(ground, soil, earthCover * 0.8f);
    }

    // Rock where it is steepest, with strata along the slope.
    if (slope > 0.1f) {
        const float rockCover = smoothstep(0.14f, 0.21f, slope + 0.04f * tufts);
        const float strata = streaks.ridged(column / 5.0f, (row + here * 0.4f) / 1.6f, 2);
        ground = mix(ground, mix(rock, darkRock, strata), rockCover);
    }

    // Moist hollows are darker, crests catch the light.
    ground = scaled(ground, std::clamp(1.0f - 0.9f * hollow, 0.85f, 1.12f));

    // The guns' pad: trodden gravel, ringed by a low wall of sandbags.
    const float r = TerrainShape::distanceFromCentre(column, row);
    const float padRadius = TerrainShape::emplacementRadius - 1.5f;
    if (r < padRadius + 3.0f) {
        const SColorf stones = scaled(gravel, 1.0f + 0.1f * detail.noise(column * 1.7f, row * 1.7f));
        ground = mix(stones, ground, smoothstep(padRadius - 0.3f, padRadius + 0.3f, r));
        // Bags a unit wide, laid in courses round the pad.
        const float ring = 1.0f - smoothstep(0.35f, 0.55f, std::fabs(r - (padRadius + 1.2f)));
        if (ring > 0.0f) {
            const float angle = std::atan2(row - 0.5f * (TerrainShape::size - 1), column - 0.5f * (TerrainShape::size - 1));
            const float bag = std::fabs(std::sin(angle * (padRadius + 1.2f) * 1.6f));
            ground = mix(ground, scaled(sandbags, 0.75f + 0.25f * std::sqrt(bag)), ring);
        }
    }

    // Grain: every texel a little lighter or darker than its neighbours.
    return scaled(ground, 1.0f + 0.09f * grain(x, y));
}
