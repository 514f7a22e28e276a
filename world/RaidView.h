#pragma once

#include <irrString.h>
#include <irrTypes.h>
#include <rect.h>

#include <vector>

namespace irr {
namespace gui { class IGUIFont; }
namespace video { class IVideoDriver; }
}

// Draws the raid's words and marks over the scene in the HUD font: the
// wave's banner at the centre, the red edges of a hit on the gun, and the
// panel when the gun position is lost.
class RaidView {
public:
    static void drawBanner(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font, const irr::core::stringw& text);
    // strength 1 at the hit, fading to 0.
    static void drawEdges(irr::video::IVideoDriver* driver, irr::f32 strength);
    // The lines centred on the screen, the first in gold, in a dark box; the
    // marked line (or none, -1) on a bar. Gives back the box it filled.
    static irr::core::rect<irr::s32> drawPanel(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                          const std::vector<irr::core::stringw>& lines, int marked);
};
