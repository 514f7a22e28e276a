// A PNG picture every way the game loads one: a scene texture with the mip
// levels the game makes, a flat texture for the screen, and the HUD's bitmap
// font, whose glyphs the engine's font reader finds in the picture, after
// the game's check that the engine's getFont can be given the file.
#include "FontFileCheck.h"
#include "FuzzEngine.h"
#include "ScratchFolder.h"
#include "TextureLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>

using namespace irr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder folder;
    IrrlichtDevice* device = FuzzEngine::device();
    video::IVideoDriver* driver = device->getVideoDriver();
    const std::string path = folder.write("picture.png", data, size);
    const io::path file = path.c_str();

    TextureLoader::mipMapped(driver, file);
    driver->removeAllTextures();
    TextureLoader::flat(driver, file);
    driver->removeAllTextures();
    gui::IGUIEnvironment* gui = device->getGUIEnvironment();
    gui::IGUIFont* font = FontFileCheck::fileIsSafe(path) ? gui->getFont(file) : nullptr;
    if (font) {
        const core::dimension2du extent = font->getDimension(L"Hits: 5  Points: 7412");
        (void)extent;
        gui->removeFont(font);
    }
    driver->removeAllTextures();
    return 0;
}
