#pragma once

namespace irr { class IrrlichtDevice; }

// Whether the game's window has the keyboard focus. The engine only learns
// of focus from the window manager's focus events; with no window manager
// the X server's focus follows the pointer (PointerRoot) and no such event
// ever comes, so the server is asked directly: the focus is ours when it is
// our window, or when it follows the pointer and the pointer is over us.
class WindowFocus {
public:
    static bool isFocused(irr::IrrlichtDevice* device);
};
