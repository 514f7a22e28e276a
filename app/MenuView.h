#pragma once

#include "Menu.h"

#include <IEventReceiver.h>
#include <rect.h>

#include <vector>

namespace irr {
namespace gui { class IGUIEnvironment; class IGUIElement; class IGUIFont; }
namespace video { class IVideoDriver; }
}

// Shows the open menu with the engine's GUI, in the panels' look: the dark
// box, amber titles, the HUD's font. Its buttons, scroll bars and check boxes
// are made for the screen that shows and only pass the player's hand on to
// the Menu; what a key or click does is the Menu's.
class MenuView {
public:
    // What a GUI event of the menu's elements asks of the Menu.
    struct Hand {
        enum class Kind { None, Click, Slide, Point } kind = Kind::None;
        int index = 0;          // item or row
        std::size_t slot = 0;   // a binding's first or second key
        int position = 0;       // a slider's position
    };

    MenuView(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIFont* font);
    ~MenuView();
    MenuView(const MenuView&) = delete;
    MenuView& operator=(const MenuView&) = delete;

    // Between rounds, on the invitation: its first two lines are the round's
    // and the raid's items, its last line holds Options and Quit. Unfocused
    // (the game plays), the items show their keys and take clicks only while
    // the pointer is free.
    void drawBetweenRounds(irr::video::IVideoDriver* driver, const Menu& menu,
                           const std::vector<irr::core::rect<irr::s32>>& lines, bool pointerFree);
    // The pause's items in a row in the band under its word.
    void drawPause(irr::video::IVideoDriver* driver, const Menu& menu, const irr::core::rect<irr::s32>& row);
    // The Options screen, centred, over everything.
    void drawOptions(irr::video::IVideoDriver* driver, const Menu& menu, const Settings::Values& values);
    // Nothing of the menu shows: its elements go.
    void hide();

    // The height the pause's row of items takes.
    irr::s32 rowHeight() const;

    Hand read(const irr::SEvent& event) const;

private:
    enum class Layout { None, BetweenRounds, Pause, Options };
    // Makes the elements again when the screen or where it stands changed.
    bool relayout(Layout layout, const irr::core::rect<irr::s32>& where);
    void clear();
    void drawBar(irr::video::IVideoDriver* driver, const irr::core::rect<irr::s32>& where) const;

    irr::gui::IGUIEnvironment* gui;
    irr::gui::IGUIFont* font;                        // the HUD's
    Layout shown = Layout::None;                     // what the elements were made for
    irr::core::rect<irr::s32> shownAt;               // and where
    std::vector<irr::gui::IGUIElement*> elements;    // ours, on the GUI's root
    std::vector<irr::core::rect<irr::s32>> places;   // where each item or row stands, by index
};
