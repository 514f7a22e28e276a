#include "WindowMode.h"

#include <IVideoDriver.h>
#include <IrrlichtDevice.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace irr;

namespace {

// The EWMH actions on a state.
const long removeState = 0;
const long addState = 1;

} // namespace

namespace {

int failedRequests = 0;

int countFailure(Display*, XErrorEvent*)
{
    ++failedRequests;
    return 0;
}

// The window a window's _NET_SUPPORTING_WM_CHECK names, or None; a window
// that is gone gives None, quietly.
Window checkWindowOf(Display* display, Window window, Atom check)
{
    XSync(display, False);
    failedRequests = 0;
    XErrorHandler previous = XSetErrorHandler(countFailure);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                                          &after, &data);
    XSync(display, False);
    XSetErrorHandler(previous);
    Window named = None;
    if (status == Success && failedRequests == 0 && type == XA_WINDOW && format == 32 && count == 1 && data)
        named = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return named;
}

} // namespace

bool WindowMode::managerRuns(void* display, unsigned long root)
{
    Display* x = static_cast<Display*>(display);
    if (x == nullptr)
        return false;
    const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    const Window named = checkWindowOf(x, static_cast<Window>(root), check);
    return named != None && checkWindowOf(x, named, check) == named;
}

bool WindowMode::managerKnowsFullscreen() const
{
    const video::SExposedVideoData& video = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(video.OpenGLLinux.X11Display);
    return managerRuns(display, DefaultRootWindow(display));
}

void WindowMode::setFullscreen(bool on)
{
    const video::SExposedVideoData& video = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(video.OpenGLLinux.X11Display);
    const Window window = static_cast<Window>(video.OpenGLLinux.X11Window);
    if (display == nullptr || window == 0 || on == fullscreen)
        return;
    fullscreen = on;
    const Window root = DefaultRootWindow(display);
    if (managerKnowsFullscreen()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = on ? addState : removeState;
        event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
        event.xclient.data.l[2] = 0;
        event.xclient.data.l[3] = 1;  // asked by an application
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else if (on) {
        XWindowAttributes attributes;
        Window child = 0;
        XGetWindowAttributes(display, window, &attributes);
        XTranslateCoordinates(display, window, root, 0, 0, &windowX, &windowY, &child);
        windowWidth = static_cast<unsigned>(attributes.width);
        windowHeight = static_cast<unsigned>(attributes.height);
        const Screen* screen = DefaultScreenOfDisplay(display);
        XMoveResizeWindow(display, window, 0, 0, static_cast<unsigned>(WidthOfScreen(screen)),
                          static_cast<unsigned>(HeightOfScreen(screen)));
        XRaiseWindow(display, window);
    } else {
        XMoveResizeWindow(display, window, windowX, windowY, windowWidth, windowHeight);
    }
    XFlush(display);
}
