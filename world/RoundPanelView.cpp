#include "RoundPanelView.h"
#include "PanelColours.h"

#include "FlightRules.h"
#include "RaidPanel.h"

#include <IGUIFont.h>
#include <IVideoDriver.h>

#include <algorithm>

using namespace irr;

namespace {


} // namespace

// The lines of one picture, top to bottom, and where it stands.
struct RoundPanelView::Layout {
    struct Line {
        core::stringw text;   // centred; empty for a row of the table
        video::SColor colour;
        s32 row;              // index into rows, or -1
        f32 height;           // in lines of text: 1, or less for a gap
        bool selected = false; // on a bar, as a menu's chosen item
        bool kept = false;     // kept free for what another draws there, as wide as its text
    };
    std::vector<Line> lines;
    std::vector<RoundPanel::Row> rows;
    bool centreOnFirstLine;   // the first line sits on the screen's centre
    std::vector<core::rect<s32>> placed;  // where each line went, box-wide, once drawn

    // After a gap, the title and the best rounds, the one at place marked;
    // nothing while the table is empty.
    void addTable(const std::vector<ScoreTable::Entry>& table, int place)
    {
        rows = RoundPanel::rows(table, place, FlightRules::aircraftPerRound);
        if (rows.empty())
            return;
        lines.push_back({core::stringw(), PanelColours::white, -1, 0.6f});
        lines.push_back({RoundPanel::tableTitle, PanelColours::gold, -1, 1.0f});
        for (std::size_t i = 0; i < rows.size(); ++i)
            lines.push_back({core::stringw(), PanelColours::white, static_cast<s32>(i), 1.0f});
    }
};

core::rect<s32> RoundPanelView::drawPanel(video::IVideoDriver* driver, gui::IGUIFont* font, const RoundSummary& round,
                               const std::vector<ScoreTable::Entry>& table, int place)
{
    Layout layout;
    layout.centreOnFirstLine = false;
    const std::vector<core::stringw> heading = RoundPanel::heading(round);
    for (std::size_t i = 0; i < heading.size(); ++i)
        layout.lines.push_back({heading[i], i == 0 ? PanelColours::gold : PanelColours::white, -1, 1.0f});
    layout.addTable(table, place);
    const core::stringw footer = RoundPanel::footer(place);
    if (!footer.empty()) {
        layout.lines.push_back({core::stringw(), PanelColours::white, -1, 0.4f});
        layout.lines.push_back({footer, PanelColours::white, -1, 1.0f});
    }
    return draw(driver, font, layout);
}

core::rect<s32> RoundPanelView::drawInvitation(video::IVideoDriver* driver, gui::IGUIFont* font,
                                    const std::vector<ScoreTable::Entry>& table, int selected,
                                    std::vector<core::rect<s32>>* lines)
{
    Layout layout;
    layout.centreOnFirstLine = true;
    layout.lines.push_back({RoundPanel::startHint, PanelColours::white, -1, 1.0f, selected == 0});
    layout.lines.push_back({RaidPanel::startHint, PanelColours::white, -1, 1.0f, selected == 1});
    layout.addTable(table, ScoreTable::notEntered);
    if (lines) {
        layout.lines.push_back({core::stringw(), PanelColours::white, -1, 0.4f});
        layout.lines.push_back({L"Esc: menu        F12: quit", PanelColours::white, -1, 1.0f, false, true});
    }
    const core::rect<s32> area = draw(driver, font, layout);
    if (lines)
        *lines = {layout.placed[0], layout.placed[1], layout.placed.back()};
    return area;
}

core::rect<s32> RoundPanelView::draw(video::IVideoDriver* driver, gui::IGUIFont* font, Layout& layout)
{
    const core::dimension2du screen = driver->getScreenSize();
    const s32 lineHeight = static_cast<s32>(font->getDimension(L"0").Height) + 4;
    const s32 em = static_cast<s32>(font->getDimension(L"M").Width);
    auto widthOf = [font](const core::stringw& text) { return static_cast<s32>(font->getDimension(text.c_str()).Width); };

    // The table's columns: place and points to the right, hits and date to
    // the left, each as wide as its widest entry.
    s32 placeWidth = 0, pointsWidth = 0, hitsWidth = 0, dateWidth = 0;
    for (const RoundPanel::Row& row : layout.rows) {
        placeWidth = std::max(placeWidth, widthOf(row.place));
        pointsWidth = std::max(pointsWidth, widthOf(row.points));
        hitsWidth = std::max(hitsWidth, widthOf(row.hits));
        dateWidth = std::max(dateWidth, widthOf(row.date));
    }
    const s32 gap = em * 3 / 2;
    const s32 tableWidth = layout.rows.empty() ? 0 : placeWidth + gap + pointsWidth + gap + hitsWidth + gap + dateWidth;
    s32 width = tableWidth, height = 0;
    for (const Layout::Line& line : layout.lines) {
        width = std::max(width, widthOf(line.text));
        height += static_cast<s32>(line.height * lineHeight);
    }
    const s32 margin = em;
    const s32 centreX = static_cast<s32>(screen.Width / 2), centreY = static_cast<s32>(screen.Height / 2);
    const s32 top = layout.centreOnFirstLine ? centreY - lineHeight / 2 : centreY - height / 2;
    const core::rect<s32> area(centreX - width / 2 - margin, top - margin / 2, centreX + width / 2 + margin,
                               top + height + margin / 2);
    driver->draw2DRectangle(PanelColours::box, area);
    driver->draw2DRectangleOutline(area, PanelColours::frame);

    const s32 left = centreX - tableWidth / 2;
    s32 y = top;
    for (const Layout::Line& line : layout.lines) {
        const s32 step = static_cast<s32>(line.height * lineHeight);
        layout.placed.push_back(core::rect<s32>(area.UpperLeftCorner.X, y, area.LowerRightCorner.X, y + lineHeight));
        if (line.selected)
            driver->draw2DRectangle(PanelColours::markedBar, core::rect<s32>(area.UpperLeftCorner.X + 6, y + 1, area.LowerRightCorner.X - 6,
                                                               y + lineHeight - 1));
        if (line.row < 0) {
            if (!line.text.empty() && !line.kept)
                font->draw(line.text, core::rect<s32>(area.UpperLeftCorner.X, y, area.LowerRightCorner.X, y + lineHeight),
                           line.colour, true, false, nullptr);
        } else {
            const RoundPanel::Row& row = layout.rows[static_cast<std::size_t>(line.row)];
            if (row.marked)
                driver->draw2DRectangle(PanelColours::markedBar, core::rect<s32>(left - em / 2, y, left + tableWidth + em / 2, y + lineHeight - 2));
            s32 x = left;
            font->draw(row.place, core::rect<s32>(x + placeWidth - widthOf(row.place), y, x + placeWidth, y + lineHeight),
                       line.colour);
            x += placeWidth + gap;
            font->draw(row.points, core::rect<s32>(x + pointsWidth - widthOf(row.points), y, x + pointsWidth, y + lineHeight),
                       line.colour);
            x += pointsWidth + gap;
            font->draw(row.hits, core::rect<s32>(x, y, x + hitsWidth, y + lineHeight), line.colour);
            x += hitsWidth + gap;
            font->draw(row.date, core::rect<s32>(x, y, x + dateWidth, y + lineHeight), line.colour);
        }
        y += step;
    }
    return area;
}
