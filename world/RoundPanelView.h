#pragma once

#include <irrTypes.h>
#include <rect.h>

#include <vector>

#include "RoundPanel.h"
#include "ScoreTable.h"

namespace irr {
namespace gui { class IGUIFont; }
namespace video { class IVideoDriver; }
}

// Draws what stands in the middle of the screen between rounds, in the HUD
// font on a dark box that reads against sky and ground alike: the panel of a
// round that has run to its end, or the line that invites a round with the
// best rounds below it.
class RoundPanelView {
public:
    // The heading of the round, then the best rounds with the place it
    // entered at marked (none for ScoreTable::notEntered), centred on the
    // screen. Each draw gives back the box it filled.
    static irr::core::rect<irr::s32> drawPanel(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font, const RoundSummary& round,
                          const std::vector<ScoreTable::Entry>& table, int place);
    // The invitation, centred on the sight, and the best rounds below it when
    // there are any. With lines, a last line is kept free for the menu's
    // items, and lines gets the places of the round's line, the raid's and
    // that last one; the line selected (0 or 1) stands on a bar.
    static irr::core::rect<irr::s32> drawInvitation(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                               const std::vector<ScoreTable::Entry>& table, int selected = -1,
                               std::vector<irr::core::rect<irr::s32>>* lines = nullptr);

private:
    struct Layout;
    static irr::core::rect<irr::s32> draw(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font, Layout& layout);
};
