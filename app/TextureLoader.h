#pragma once

#include <irrTypes.h>
#include <path.h>

#include <vector>

namespace irr { namespace video { class IImage; class ITexture; class IVideoDriver; } }

// Loads the game's pictures into textures the way that costs least at
// start-up and draws the same.
//
// Mesa's software renderer compiles a shader of its own the first time it
// makes a texture's mip levels: 60 to 90 ms, more than loading any of our
// pictures. Pictures drawn in the scene therefore get their mip levels made
// here, each texel the average of four, rounded as that renderer rounds them
// (the two pairs of a row first, then the pair of rows), so that the levels
// come out the same. Pictures only ever drawn flat on the screen at their own
// size get none: they are never minified.
//
// Either way a picture already loaded is not loaded again, and the textures
// are named and found as the engine's own getTexture names and finds them.
class TextureLoader {
public:
    // A texture with mip levels; null, after the engine's message, when the
    // file cannot be read. Pictures whose sides are not powers of two are
    // left to the engine, which scales them first.
    static irr::video::ITexture* mipMapped(irr::video::IVideoDriver* driver, const irr::io::path& file);
    // The same for a picture of that file already read, which this takes
    // over (drops); for a caller that had to decode the file anyway.
    static irr::video::ITexture* mipMapped(irr::video::IVideoDriver* driver, const irr::io::path& file,
                                           irr::video::IImage* image);
    // A texture without mip levels, for pictures drawn flat on the screen.
    static irr::video::ITexture* flat(irr::video::IVideoDriver* driver, const irr::io::path& file);

    // Mip levels 1 to the last (1 x 1) of a picture of 32-bit texels, width by
    // height (powers of two), one after the other as the engine takes them.
    static std::vector<irr::u32> mipLevels(const irr::u32* texels, irr::u32 width, irr::u32 height);
};
