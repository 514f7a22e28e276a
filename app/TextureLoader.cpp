#include "TextureLoader.h"

#include <IFileSystem.h>
#include <IImage.h>
#include <IVideoDriver.h>
#include <IrrlichtDevice.h>

#include "EngineContext.h"
#include "PngFileCheck.h"

#include <iostream>

using namespace irr;

namespace {

bool isPowerOfTwo(u32 value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

// The mean of two texels, channel by channel, rounded up: all four channels
// at once, since a + b is 2 (a | b) - (a ^ b) in each, and halving the
// difference within each channel cannot borrow from the next.
inline u32 mean(u32 a, u32 b)
{
    return (a | b) - (((a ^ b) >> 1) & 0x7F7F7F7Fu);
}

// A file named as a PNG that is not one, or whose header gives sizes the
// engine cannot hold, never reaches the engine's image reader.
bool isRefused(const io::path& file)
{
    const bool namedPng = file.size() >= 4 && core::stringc(file.c_str() + file.size() - 4).make_lower() == ".png";
    if (!namedPng || PngFileCheck::fileIsSafe(file.c_str()))
        return false;
    std::cerr << "Picture " << file.c_str() << " is missing or damaged: left out." << std::endl;
    return true;
}

// The name the engine's getTexture gives a file's texture.
io::path textureName(const io::path& file)
{
    return getDevice()->getFileSystem()->getAbsolutePath(file);
}

} // namespace

std::vector<u32> TextureLoader::mipLevels(const u32* texels, u32 width, u32 height)
{
    std::vector<u32> levels;
    u32 size = 0;
    for (u32 w = width, h = height; w > 1 || h > 1;) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        size += w * h;
    }
    levels.resize(size);

    const u32* source = texels;
    u32* target = levels.data();
    u32 w = width;
    u32 h = height;
    while (w > 1 || h > 1) {
        const u32 nextW = w > 1 ? w / 2 : 1;
        const u32 nextH = h > 1 ? h / 2 : 1;
        const u32 stepX = w > 1 ? 1 : 0;
        const u32 stepY = h > 1 ? w : 0;
        for (u32 y = 0; y < nextH; ++y) {
            const u32* row = source + (h > 1 ? 2 * y : y) * w;
            for (u32 x = 0; x < nextW; ++x) {
                const u32* texel = row + (w > 1 ? 2 * x : x);
                target[y * nextW + x] = mean(mean(texel[0], texel[stepX]), mean(texel[stepY], texel[stepY + stepX]));
            }
        }
        source = target;
        target += nextW * nextH;
        w = nextW;
        h = nextH;
    }
    return levels;
}

video::ITexture* TextureLoader::mipMapped(video::IVideoDriver* driver, const io::path& file)
{
    const io::path name = textureName(file);
    if (video::ITexture* loaded = driver->findTexture(name))
        return loaded;
    if (isRefused(file))
        return nullptr;
    video::IImage* image = driver->createImageFromFile(file);
    if (!image)
        return nullptr;
    return mipMapped(driver, file, image);
}

video::ITexture* TextureLoader::mipMapped(video::IVideoDriver* driver, const io::path& file, video::IImage* image)
{
    const io::path name = textureName(file);
    if (video::ITexture* loaded = driver->findTexture(name)) {
        image->drop();
        return loaded;
    }
    const core::dimension2du size = image->getDimension();
    if (!isPowerOfTwo(size.Width) || !isPowerOfTwo(size.Height)
        || !driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS)) {
        // The picture read is handed over as it is, not read a second time.
        video::ITexture* texture = driver->addTexture(name, image);
        image->drop();
        return texture;
    }

    // The engine keeps textures as 32-bit texels; the levels are made in that form.
    video::IImage* texels = image;
    if (image->getColorFormat() != video::ECF_A8R8G8B8) {
        texels = driver->createImage(video::ECF_A8R8G8B8, size);
        image->copyTo(texels);
        image->drop();
    }
    std::vector<u32> levels = mipLevels(static_cast<const u32*>(texels->lock()), size.Width, size.Height);
    texels->unlock();
    video::ITexture* texture = driver->addTexture(name, texels, levels.data());
    texels->drop();
    return texture;
}

video::ITexture* TextureLoader::flat(video::IVideoDriver* driver, const io::path& file)
{
    if (isRefused(file))
        return nullptr;
    const bool mipMaps = driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS);
    driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
    video::ITexture* texture = driver->getTexture(file);
    driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, mipMaps);
    return texture;
}
