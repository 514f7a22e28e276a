#pragma once

#include <irrString.h>
#include <rect.h>

namespace irr {
namespace gui { class IGUIFont; }
namespace video { class IVideoDriver; class SColor; }
}

// The dark band behind the HUD's three lines, drawn before them, so that
// white text reads over the whitest cloud: over pure white the band's own
// colour comes out near (61, 62, 65), whose contrast with the white text
// is about 11 : 1, above the 4.5 : 1 asked of text. It is as wide as the
// widest line and as tall as the three, with a margin of a few pixels.
class HudBand {
public:
    static const irr::video::SColor colour;  // alpha 200 of a dark blue-grey

    // Where the band goes for this text drawn from the HUD's corner.
    static irr::core::rect<irr::s32> area(irr::gui::IGUIFont* font, const irr::core::stringw& text,
                                          irr::core::position2d<irr::s32> corner);
    static void draw(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font, const irr::core::stringw& text,
                     irr::core::position2d<irr::s32> corner);
};
