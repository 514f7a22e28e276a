#include "RaidView.h"
#include "PanelColours.h"

#include <IGUIFont.h>
#include <IVideoDriver.h>

#include <algorithm>

using namespace irr;

namespace {


}

void RaidView::drawBanner(video::IVideoDriver* driver, gui::IGUIFont* font, const core::stringw& text)
{
    // Above the sight, so that the first aircraft can be looked for through it.
    const core::dimension2du screen = driver->getScreenSize();
    const s32 width = static_cast<s32>(screen.Width), middle = static_cast<s32>(screen.Height / 3);
    const s32 half = static_cast<s32>(font->getDimension(text.c_str()).Height) * 3 / 2;
    const core::rect<s32> band(0, middle - half, width, middle + half);
    driver->draw2DRectangle(video::SColor(140, 0, 0, 0), band);
    font->draw(text, band, PanelColours::gold, true, true, nullptr);
}

void RaidView::drawEdges(video::IVideoDriver* driver, f32 strength)
{
    if (strength <= 0.0f)
        return;
    // A band round the screen, red at the edge and clear towards the middle.
    const core::dimension2du screen = driver->getScreenSize();
    const s32 w = static_cast<s32>(screen.Width), h = static_cast<s32>(screen.Height);
    const s32 band = std::max<s32>(8, h / 8);
    const video::SColor red(static_cast<u32>(200 * std::min(strength, 1.0f)), 220, 0, 0);
    const video::SColor clear(0, 220, 0, 0);
    driver->draw2DRectangle(core::rect<s32>(0, 0, w, band), red, red, clear, clear);
    driver->draw2DRectangle(core::rect<s32>(0, h - band, w, h), clear, clear, red, red);
    driver->draw2DRectangle(core::rect<s32>(0, 0, band, h), red, clear, red, clear);
    driver->draw2DRectangle(core::rect<s32>(w - band, 0, w, h), clear, red, clear, red);
}

core::rect<s32> RaidView::drawPanel(video::IVideoDriver* driver, gui::IGUIFont* font,
                                    const std::vector<core::stringw>& lines, int marked)
{
    const core::dimension2du screen = driver->getScreenSize();
    const s32 lineHeight = static_cast<s32>(font->getDimension(L"0").Height) + 4;
    const s32 em = static_cast<s32>(font->getDimension(L"M").Width);
    s32 width = 0;
    for (const core::stringw& line : lines)
        width = std::max(width, static_cast<s32>(font->getDimension(line.c_str()).Width));
    const s32 height = lineHeight * static_cast<s32>(lines.size());
    const s32 centreX = static_cast<s32>(screen.Width / 2), top = static_cast<s32>(screen.Height / 2) - height / 2;
    const core::rect<s32> area(centreX - width / 2 - em, top - em / 2, centreX + width / 2 + em, top + height + em / 2);
    driver->draw2DRectangle(PanelColours::box, area);
    driver->draw2DRectangleOutline(area, PanelColours::frame);
    s32 y = top;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const core::rect<s32> row(area.UpperLeftCorner.X, y, area.LowerRightCorner.X, y + lineHeight);
        if (static_cast<int>(i) == marked)
            driver->draw2DRectangle(PanelColours::markedBar, core::rect<s32>(row.UpperLeftCorner.X + em / 2, y,
                                                               row.LowerRightCorner.X - em / 2, y + lineHeight - 2));
        font->draw(lines[i], row, i == 0 ? PanelColours::gold : PanelColours::white, true, false, nullptr);
        y += lineHeight;
    }
    return area;
}
