#include "WindowFocus.h"

#include <IVideoDriver.h>
#include <IrrlichtDevice.h>

#include <X11/Xlib.h>

using namespace irr;

bool WindowFocus::isFocused(IrrlichtDevice* device)
{
    if (device->isWindowFocused())
        return true;
    const video::SExposedVideoData& video = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(video.OpenGLLinux.X11Display);
    const Window window = static_cast<Window>(video.OpenGLLinux.X11Window);
    if (display == nullptr || window == 0)
        return false;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == window)
        return true;
    if (focus != PointerRoot)
        return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &buttons))
        return false;
    const core::dimension2du size = device->getVideoDriver()->getScreenSize();
    return x >= 0 && y >= 0 && static_cast<u32>(x) < size.Width && static_cast<u32>(y) < size.Height;
}
