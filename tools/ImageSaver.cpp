#include "ImageSaver.h"

#include <irrlicht.h>
#include <png.h>

#include <cstdio>

using namespace irr;

namespace {

bool isPng(const std::string& path)
{
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
}

// Rows of 8-bit channels, top row first, stored without compression or row
// filters; no time stamp or other chunk that would change from bake to bake.
bool writePng(const std::string& path, unsigned width, unsigned height, int channels, const std::uint8_t* pixels)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 0);
    png_write_info(png, info);
    for (unsigned y = 0; y < height; ++y)
        png_write_row(png, pixels + std::size_t(y) * width * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

} // namespace

ImageSaver::ImageSaver()
{
    if (!isReady())
        std::fprintf(stderr, "cannot start the engine's null driver to write images\n");
}

bool ImageSaver::saveRgb(const std::string& path, unsigned width, unsigned height,
                         const std::vector<std::uint8_t>& rgb, unsigned quality) const
{
    if (rgb.size() != std::size_t(width) * height * 3 || (!isPng(path) && !isReady())) {
        std::fprintf(stderr, "cannot write %s: no image writer or wrong pixel count\n", path.c_str());
        return false;
    }
    const bool ok = isPng(path) ? writePng(path, width, height, 3, rgb.data())
                                : writeJpeg(path, width, height, rgb, quality);
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

bool ImageSaver::saveRgba(const std::string& path, unsigned width, unsigned height,
                          const std::vector<std::uint8_t>& rgba) const
{
    if (rgba.size() != std::size_t(width) * height * 4 || !isPng(path)) {
        std::fprintf(stderr, "cannot write %s: not a PNG file or wrong pixel count\n", path.c_str());
        return false;
    }
    const bool ok = writePng(path, width, height, 4, rgba.data());
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

bool ImageSaver::writeJpeg(const std::string& path, unsigned width, unsigned height,
                           const std::vector<std::uint8_t>& rgb, unsigned quality) const
{
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
    return ok;
}
