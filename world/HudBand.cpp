#include "HudBand.h"

#include <IGUIFont.h>
#include <IVideoDriver.h>

using namespace irr;

const video::SColor HudBand::colour(200, 8, 12, 24);

core::rect<s32> HudBand::area(gui::IGUIFont* font, const core::stringw& text, core::position2d<s32> corner)
{
    // The font measures the lines of a text together: its widest and all of them.
    const core::dimension2du size = font->getDimension(text.c_str());
    const s32 margin = 6;
    return core::rect<s32>(corner.X - margin, corner.Y - margin, corner.X + static_cast<s32>(size.Width) + margin,
                           corner.Y + static_cast<s32>(size.Height) + margin);
}

void HudBand::draw(video::IVideoDriver* driver, gui::IGUIFont* font, const core::stringw& text,
                   core::position2d<s32> corner)
{
    driver->draw2DRectangle(colour, area(font, text, corner));
}
