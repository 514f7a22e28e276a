#pragma once

#include <string>

// Bakes the HUD's bitmap font in the engine's own layout: every printable
// ASCII character from DejaVu Sans Bold, about 20 pixels tall, white with an
// anti-aliased edge and a dark outline, so that white HUD text reads over
// the bright sky as well as the dark ground.
class FontBaker {
public:
    static bool bake(const std::string& resDir);

    static const char* const fontPath;   // the TrueType font the glyphs come from
    static const unsigned pixelSize = 14; // FreeType's em size in pixels
    static const unsigned imageWidth = 512;
};
