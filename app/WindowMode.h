#pragma once

namespace irr { class IrrlichtDevice; }

// Fullscreen as a desktop does it: the game's window asks the window manager
// to cover the screen (the EWMH state _NET_WM_STATE_FULLSCREEN) and to give
// it back its place and size afterwards; the video mode never changes, and
// the view follows the window's new size as after any resize. With no window
// manager to ask, the window is moved over the whole screen itself and put
// back where it was.
class WindowMode {
public:
    explicit WindowMode(irr::IrrlichtDevice* device) : device(device) {}

    void setFullscreen(bool on);
    bool isFullscreen() const { return fullscreen; }

    // True when a window manager that knows the EWMH states runs on the
    // display (an Xlib Display) whose root window is root: root names the
    // manager's check window, and that window, still there, names itself.
    // A manager that has ended may leave its name on the root behind.
    static bool managerRuns(void* display, unsigned long root);

private:
    bool managerKnowsFullscreen() const;

    irr::IrrlichtDevice* device;  // borrowed from the engine context
    bool fullscreen = false;      // as last asked
    int windowX = 0;              // where the window was before it covered the screen
    int windowY = 0;              // (only without a window manager)
    unsigned windowWidth = 0;
    unsigned windowHeight = 0;
};
