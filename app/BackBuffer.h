#pragma once

#include <IImage.h>
#include <IVideoDriver.h>

// The frame just drawn, read before the swap. The engine's own screenshot
// reads the front buffer, which software renderers and compositors leave
// black after the swap; the back buffer still holds the whole frame until
// endScene.
class BackBuffer {
public:
    // A picture of the window's size, top row first; the caller drops it.
    // Null when the window has no size or the picture cannot be made.
    static irr::video::IImage* capture(irr::video::IVideoDriver* driver);
};
