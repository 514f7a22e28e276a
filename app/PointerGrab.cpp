#include "PointerGrab.h"

#include <ICursorControl.h>

using namespace irr;

core::vector2di PointerGrab::poll(bool hold, const core::dimension2du& window)
{
    core::vector2di moved(0, 0);
    if (cursor == nullptr || window.Width == 0 || window.Height == 0)
        return moved;
    const core::position2di centre(static_cast<s32>(window.Width / 2), static_cast<s32>(window.Height / 2));
    if (hold != held) {
        held = hold;
        cursor->setVisible(!hold);
        if (hold)
            cursor->setPosition(centre);
        return moved;
    }
    if (!held)
        return moved;
    const core::position2di at = cursor->getPosition();
    moved = core::vector2di(at.X - centre.X, at.Y - centre.Y);
    if (moved.X != 0 || moved.Y != 0)
        cursor->setPosition(centre);
    return moved;
}
