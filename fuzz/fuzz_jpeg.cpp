// A sky face as the world loads it: the game's check that the JPEG file is
// whole, and only then the engine's JPEG reader through the game's texture
// loader, which makes the mip levels.
#include "FuzzEngine.h"
#include "JpegFileCheck.h"
#include "ScratchFolder.h"
#include "TextureLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>

using namespace irr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder folder;
    video::IVideoDriver* driver = FuzzEngine::device()->getVideoDriver();
    const std::string path = folder.write("sky.jpg", data, size);
    if (JpegFileCheck::fileIsWhole(path))
        TextureLoader::mipMapped(driver, path.c_str());
    driver->removeAllTextures();
    return 0;
}
