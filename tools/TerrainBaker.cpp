#include "TerrainBaker.h"

#include "BakeRegistry.h"
#include "GroundPainter.h"
#include "ImageSaver.h"
#include "ResourceTable.h"
#include "TerrainShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

const BakeRegistry::Registration registration("terrain", &TerrainBaker::bake);

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

bool TerrainBaker::bake(const std::string& resDir)
{
    const TerrainShape shape;
    // The game needs the pad 1.5 to 2.5 units below the guns' pivot.
    const int centre = TerrainShape::size / 2;
    const float pad = shape.worldHeight(shape.level(centre, centre));
    if (pad > -1.5f || pad < -2.5f) {
        std::fprintf(stderr, "terrain: the gun pad would lie at %.2f, outside -2.5..-1.5\n", pad);
        return false;
    }
    const bool heightMapOk = writeHeightMap(shape, resDir + "/" + ResourceTable::name(Resource::HeightMap));
    return writeTexture(shape, resDir + "/" + ResourceTable::name(Resource::DetailMap)) && heightMapOk;
}

bool TerrainBaker::writeHeightMap(const TerrainShape& shape, const std::string& path)
{
    const ImageSaver saver;
    std::vector<std::uint8_t> rgb(shape.greyLevels().size() * 3);
    for (std::size_t i = 0; i < shape.greyLevels().size(); ++i)
        rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = shape.greyLevels()[i];
    return saver.saveRgb(path, TerrainShape::size, TerrainShape::size, rgb);
}

bool TerrainBaker::writeTexture(const TerrainShape& shape, const std::string& path)
{
    const GroundPainter painter(shape, textureSize);
    std::vector<std::uint8_t> rgb(std::size_t(textureSize) * textureSize * 3);
    // Two halves painted side by side; each texel depends on nothing but its
    // position, so the result is the same however the work is split.
    const auto paintRows = [&](unsigned firstRow, unsigned endRow) {
        for (unsigned y = firstRow; y < endRow; ++y) {
            for (unsigned x = 0; x < textureSize; ++x) {
                const irr::video::SColorf c = painter.texel(x, y);
                std::uint8_t* p = &rgb[(std::size_t(y) * textureSize + x) * 3];
                p[0] = toByte(c.r);
                p[1] = toByte(c.g);
                p[2] = toByte(c.b);
            }
        }
    };
    std::thread helper(paintRows, 0u, textureSize / 2);
    paintRows(textureSize / 2, textureSize);
    helper.join();
    const ImageSaver saver;
    return saver.saveRgb(path, textureSize, textureSize, rgb);
}
