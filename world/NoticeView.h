#pragma once

#include <irrString.h>
#include <rect.h>

#include <vector>

namespace irr {
namespace gui { class IGUIFont; }
namespace video { class IVideoDriver; class SColor; }
}

// Small boxes of text over the scene, in the HUD font on the same dark box
// as the panels, so that they read against sky and ground alike: the
// controls, the reload prompt, the word of a pause, the name of a saved
// screenshot. The caller says where; the box is measured from its lines.
class NoticeView {
public:
    // The box its lines need, its upper left corner at the origin.
    static irr::core::dimension2d<irr::s32> measure(irr::gui::IGUIFont* font,
                                                     const std::vector<irr::core::stringw>& lines);
    // Draws the box with its upper left corner at `at`, the first line in
    // headingColour, the rest white, each centred or left aligned.
    static irr::core::rect<irr::s32> draw(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                                          const std::vector<irr::core::stringw>& lines,
                                          irr::core::position2d<irr::s32> at, bool centred,
                                          const irr::video::SColor& headingColour);
    // One line in a box centred on the given point.
    static irr::core::rect<irr::s32> drawLine(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                                              const irr::core::stringw& text,
                                              irr::core::position2d<irr::s32> centre);
};
