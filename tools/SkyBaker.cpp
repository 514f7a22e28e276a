#include "SkyBaker.h"

#include "BakeRegistry.h"
#include "ImageSaver.h"
#include "ResourceTable.h"
#include "SkyModel.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

using irr::core::vector3df;

namespace {

const BakeRegistry::Registration registration("sky", &SkyBaker::bake);

// A fixed pattern of tiny offsets, less than one step of 8-bit colour, that
// keeps the smooth gradients from showing bands.
float dither(unsigned x, unsigned y, unsigned face)
{
    std::uint32_t h = x * 73856093u ^ y * 19349663u ^ face * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 1023u) / 1023.0f - 0.5f;
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

const char* SkyBaker::fileName(Face face)
{
    static const Resource files[FaceCount] = {Resource::SkyFront, Resource::SkyRight, Resource::SkyBack,
                                              Resource::SkyLeft, Resource::SkyTop, Resource::SkyBottom};
    return ResourceTable::name(files[face]);
}

vector3df SkyBaker::direction(Face face, float s, float t)
{
    // The engine's box: front at -Z, left at +X, back at +Z, right at -X, each
    // side face upright; the top face has its left edge towards +Z and its top
    // edge towards -X, the bottom face its left edge towards +Z and its top
    // edge towards +X.
    switch (face) {
    case Front: return vector3df(-s, -t, -1.0f);
    case Right: return vector3df(-1.0f, -t, s);
    case Back: return vector3df(s, -t, 1.0f);
    case Left: return vector3df(1.0f, -t, -s);
    case Top: return vector3df(t, 1.0f, -s);
    default: return vector3df(-t, -1.0f, -s);
    }
}

float SkyBaker::faceCoordinate(unsigned index, unsigned size)
{
    const float inset = 1.0f / (size * 1.5f);
    const float texture = (index + 0.5f) / size;
    return -1.0f + 2.0f * (texture - inset) / (1.0f - 2.0f * inset);
}

bool SkyBaker::bake(const std::string& resDir)
{
    const ImageSaver saver;
    if (!saver.isReady())
        return false;
    const SkyModel model;
    std::vector<float> coordinates(size);
    for (unsigned i = 0; i < size; ++i)
        coordinates[i] = faceCoordinate(i, size);

    std::vector<std::uint8_t> pixels(std::size_t(size) * size * 3);
    bool ok = true;
    for (int f = 0; f < FaceCount; ++f) {
        const Face face = static_cast<Face>(f);
        // Two halves of the face painted side by side: every pixel depends on
        // its direction alone, so the split changes nothing in the result.
        const auto paintRows = [&](unsigned firstRow, unsigned endRow) {
            for (unsigned y = firstRow; y < endRow; ++y) {
                for (unsigned x = 0; x < size; ++x) {
                    const vector3df d = direction(face, coordinates[x], coordinates[y]).normalize();
                    const irr::video::SColorf c = model.colour(d);
                    const float offset = d.Y > 0.0f ? dither(x, y, f) : 0.0f;
                    std::uint8_t* p = &pixels[(std::size_t(y) * size + x) * 3];
                    p[0] = toByte(c.r * 255.0f + offset);
                    p[1] = toByte(c.g * 255.0f + offset);
                    p[2] = toByte(c.b * 255.0f + offset);
                }
            }
        };
        std::thread helper(paintRows, 0u, size / 2);
        paintRows(size / 2, size);
        helper.join();
        ok = saver.saveRgb(resDir + "/" + fileName(face), size, size, pixels, 92) && ok;
    }
    return ok;
}
