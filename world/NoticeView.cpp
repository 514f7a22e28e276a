#include "NoticeView.h"

#include <IGUIFont.h>
#include <IVideoDriver.h>

#include <algorithm>

using namespace irr;

namespace {

const video::SColor white(255, 255, 255, 255);
const video::SColor box(215, 8, 12, 24);
const video::SColor frame(200, 150, 160, 180);

s32 lineHeightOf(gui::IGUIFont* font)
{
    return static_cast<s32>(font->getDimension(L"0").Height) + 4;
}

s32 marginOf(gui::IGUIFont* font)
{
    return static_cast<s32>(font->getDimension(L"M").Width);
}

} // namespace

core::dimension2d<s32> NoticeView::measure(gui::IGUIFont* font, const std::vector<core::stringw>& lines)
{
    s32 width = 0;
    for (const core::stringw& line : lines)
        width = std::max(width, static_cast<s32>(font->getDimension(line.c_str()).Width));
    const s32 margin = marginOf(font);
    return core::dimension2d<s32>(width + 2 * margin, static_cast<s32>(lines.size()) * lineHeightOf(font) + margin);
}

core::rect<s32> NoticeView::draw(video::IVideoDriver* driver, gui::IGUIFont* font,
                                 const std::vector<core::stringw>& lines, core::position2d<s32> at, bool centred,
                                 const video::SColor& headingColour)
{
    const core::dimension2d<s32> size = measure(font, lines);
    const core::rect<s32> area(at, size);
    driver->draw2DRectangle(box, area);
    driver->draw2DRectangleOutline(area, frame);
    const s32 margin = marginOf(font), lineHeight = lineHeightOf(font);
    s32 y = at.Y + margin / 2;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const core::rect<s32> row(at.X + margin, y, area.LowerRightCorner.X - margin, y + lineHeight);
        font->draw(lines[i], row, i == 0 ? headingColour : white, centred, false, nullptr);
        y += lineHeight;
    }
    return area;
}

core::rect<s32> NoticeView::drawLine(video::IVideoDriver* driver, gui::IGUIFont* font, const core::stringw& text,
                                     core::position2d<s32> centre)
{
    const std::vector<core::stringw> lines{text};
    const core::dimension2d<s32> size = measure(font, lines);
    return draw(driver, font, lines, core::position2d<s32>(centre.X - size.Width / 2, centre.Y - size.Height / 2),
                true, white);
}
