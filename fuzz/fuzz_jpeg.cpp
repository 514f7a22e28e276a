// A sky face as the world loads it: the game's check decodes the JPEG file
// whole, and its texels become the texture through the game's loader, which
// makes the mip levels; a CMYK picture, only checked, goes to the engine's
// JPEG reader instead.
#include "FuzzEngine.h"
#include "JpegFileCheck.h"
#include "ScratchFolder.h"
#include "TextureLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace irr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder folder;
    video::IVideoDriver* driver = FuzzEngine::device()->getVideoDriver();
    const std::string path = folder.write("sky.jpg", data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<unsigned char> texels;
    unsigned width = 0;
    unsigned height = 0;
    if (JpegFileCheck::decodeWhole(bytes, texels, width, height)) {
        if (texels.empty()) {
            TextureLoader::mipMapped(driver, path.c_str());
        } else {
            video::IImage* image = driver->createImageFromData(video::ECF_A8R8G8B8, core::dimension2du(width, height),
                                                               texels.data(), true, false);
            TextureLoader::mipMapped(driver, path.c_str(), image);
        }
    }
    driver->removeAllTextures();
    return 0;
}
