#include "ScratchGame.h"

#include <irrlicht.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <unistd.h>

using namespace irr;

namespace {

// Images are written through a device without a window, so that resources
// can be made before the game's own device exists.
void writeWithNullDevice(const std::string& path,
                         const std::function<video::IImage*(video::IVideoDriver*)>& make)
{
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    device->getLogger()->setLogLevel(ELL_NONE);
    video::IVideoDriver* driver = device->getVideoDriver();
    video::IImage* image = make(driver);
    const bool written = driver->writeImageToFile(image, path.c_str());
    image->drop();
    device->drop();
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

ScratchGame::ScratchGame()
{
    char pattern[] = "/tmp/torvel-world-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary directory");
    root = pattern;
    std::filesystem::create_directory(root + "/bin");
    std::filesystem::create_directory(root + "/res");
    previousDir = std::filesystem::current_path().string();
    std::filesystem::current_path(root + "/bin");

    // A small box is all the turret needs to stand.
    writeFile("guns.obj",
              "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
              "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
              "f 1 2 3 4\nf 8 7 6 5\nf 1 5 6 2\nf 2 6 7 3\nf 3 7 8 4\nf 4 8 5 1\n");
}

ScratchGame::~ScratchGame()
{
    std::error_code ignored;
    std::filesystem::current_path(previousDir, ignored);
    std::filesystem::remove_all(root, ignored);
}

void ScratchGame::writeHeightMap(u32 size, u8 low, u8 high) const
{
    writeWithNullDevice(root + "/res/heightmap.png", [=](video::IVideoDriver* driver) {
        video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2du(size, size));
        for (u32 x = 0; x < size; ++x) {
            const u32 grey = low + (high - low) * x / (size - 1);
            for (u32 z = 0; z < size; ++z)
                image->setPixel(x, z, video::SColor(255, grey, grey, grey));
        }
        return image;
    });
}

void ScratchGame::writeImage(const std::string& name, u32 width, u32 height, u32 argb) const
{
    writeWithNullDevice(root + "/res/" + name, [=](video::IVideoDriver* driver) {
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(width, height));
        image->fill(video::SColor(argb));
        return image;
    });
}

void ScratchGame::writeFont(const std::string& name) const
{
    writeWithNullDevice(root + "/res/" + name, [](video::IVideoDriver* driver) {
        const u32 glyphs = 64;   // characters 32 to 95: blank, digits, capitals, brackets
        const u32 cell = 12;     // room for the widest block and its markers
        const u32 height = 14;
        const video::SColor topLeft(255, 255, 0, 0);
        const video::SColor lowerRight(255, 255, 255, 0);
        const video::SColor background(255, 0, 0, 255);
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8,
                                                   core::dimension2du(glyphs * cell, height + 1));
        image->fill(background);
        for (u32 k = 0; k < glyphs; ++k) {
            const u32 x = k * cell;
            const u32 width = 4 + k % 7;
            image->setPixel(x, 0, topLeft);
            image->setPixel(x + width, height, lowerRight);
            for (u32 px = x + 1; px < x + width; ++px)
                for (u32 py = 2; py < height - 1; ++py)
                    image->setPixel(px, py, video::SColor(255, 255, 255, 255));
        }
        // The second and third pixels of the first row name the marker
        // colours; the first is the first glyph's own top-left marker.
        image->setPixel(1, 0, lowerRight);
        image->setPixel(2, 0, background);
        return image;
    });
}

void ScratchGame::writeFile(const std::string& name, const std::string& content) const
{
    std::ofstream out(root + "/res/" + name, std::ios::binary);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + name);
}
