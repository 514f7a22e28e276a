#pragma once

#include <dimension2d.h>
#include <vector2d.h>

namespace irr { namespace gui { class ICursorControl; } }

// Holds the mouse pointer for aiming: hidden and brought back to the
// window's centre every frame, so that how far it moved in between is the
// player's aim and it never runs into the edge of the screen. Let go, it is
// shown again and left where the player puts it.
class PointerGrab {
public:
    explicit PointerGrab(irr::gui::ICursorControl* cursor) : cursor(cursor) {}

    // Once per frame. hold: whether the game has the pointer now (it has the
    // focus and is not paused). Returns the pixels the pointer moved since
    // the last frame while held; the frame that takes hold only centres it,
    // so the jump into the window is not taken for aim.
    irr::core::vector2di poll(bool hold, const irr::core::dimension2du& window);
    // Hidden and centred for aiming since the last poll.
    bool isHeld() const { return held; }

private:
    irr::gui::ICursorControl* cursor;   // the device's; may be null (no window)
    bool held = false;                  // hidden and centred each frame
};
