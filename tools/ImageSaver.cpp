#include "ImageSaver.h"

#include <irrlicht.h>

#include <cstdio>

using namespace irr;

ImageSaver::ImageSaver()
{
    if (!isReady())
        std::fprintf(stderr, "cannot start the engine's null driver to write images\n");
}

bool ImageSaver::saveRgb(const std::string& path, unsigned width, unsigned height,
                         const std::vector<std::uint8_t>& rgb, unsigned quality) const
{
    if (!isReady() || rgb.size() != std::size_t(width) * height * 3) {
        std::fprintf(stderr, "cannot write %s: no image writer or wrong pixel count\n", path.c_str());
        return false;
    }
    video::IVideoDriver* driver = engine.getDevice()->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2du(width, height));
    // The engine keeps 24-bit images as red, green, blue bytes, row after row.
    auto* pixels = static_cast<std::uint8_t*>(image->lock());
    const unsigned pitch = image->getPitch();
    for (unsigned y = 0; y < height; ++y)
        std::copy(rgb.begin() + std::size_t(y) * width * 3, rgb.begin() + std::size_t(y + 1) * width * 3,
                  pixels + std::size_t(y) * pitch);
    image->unlock();
    const bool ok = driver->writeImageToFile(image, path.c_str(), quality);
    image->drop();
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

bool ImageSaver::saveRgba(const std::string& path, unsigned width, unsigned height,
                          const std::vector<std::uint8_t>& rgba) const
{
    if (!isReady() || rgba.size() != std::size_t(width) * height * 4) {
        std::fprintf(stderr, "cannot write %s: no image writer or wrong pixel count\n", path.c_str());
        return false;
    }
    video::IVideoDriver* driver = engine.getDevice()->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(width, height));
    auto* pixels = static_cast<std::uint8_t*>(image->lock());
    const unsigned pitch = image->getPitch();
    for (unsigned y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(pixels + std::size_t(y) * pitch);
        for (unsigned x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * width + x) * 4];
            row[x] = video::SColor(p[3], p[0], p[1], p[2]).color;
        }
    }
    image->unlock();
    const bool ok = driver->writeImageToFile(image, path.c_str());
    image->drop();
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}
