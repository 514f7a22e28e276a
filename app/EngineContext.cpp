#include "EngineContext.h"

#include "AudioManager.h"
#include "Airspace.h"
#include "DisplayLoss.h"
#include "EngineLog.h"
#include "ResourceTable.h"
#include "FontFileCheck.h"

#include <irrlicht.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace irr;

namespace {

EngineContext* context = nullptr;

// The GLX request that carries vendor requests; the engine makes one of them,
// the request for vsync.
const int GLX_VENDOR_PRIVATE = 16;
bool vsyncRefused = false;

// Xlib's default handler ends the process on any protocol error. Mesa's
// software renderer answers the vsync request with one (GLXBadContextTag),
// after which the game runs fine, only without frame throttling.
int reportXError(Display* display, XErrorEvent* error)
{
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error ignored: %s (request %d, minor %d)\n",
                 text, error->request_code, error->minor_code);
    if (error->minor_code == GLX_VENDOR_PRIVATE && std::strncmp(text, "GLX", 3) == 0)
        vsyncRefused = true;
    return 0;
}

// Why no window could be opened, in words a player can act on.
const char* windowFailureReason()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return "no display is set (DISPLAY is empty)";
    if (Display* display = XOpenDisplay(nullptr)) {
        XCloseDisplay(display);
        return "the display does not offer OpenGL";
    }
    return "the X display cannot be reached";
}

// Desktops match a window to its menu entry by the window's class, not by
// its caption, which the game leaves unset.
void nameWindowClass(video::IVideoDriver* driver)
{
    const video::SExposedVideoData& window = driver->getExposedVideoData();
    Display* display = static_cast<Display*>(window.OpenGLLinux.X11Display);
    if (display == nullptr)
        return;
    char name[] = "torvel";
    char windowClass[] = "Torvel";
    XClassHint hint{name, windowClass};
    XSetClassHint(display, window.OpenGLLinux.X11Window, &hint);
}

// The HUD's font, or null (the engine's own font stands in) when the file is
// missing or damaged.
gui::IGUIFont* loadHudFont(gui::IGUIEnvironment* gui)
{
    const char* const path = ResourceTable::path(Resource::HudFont);
    if (!FontFileCheck::fileIsSafe(path)) {
        std::cerr << "HUD font " << path << " is missing or damaged: the engine's own font stands in." << std::endl;
        return nullptr;
    }
    return gui->getFont(io::path(path));
}

EngineContext& instance()
{
    if (context == nullptr)
        context = new EngineContext();
    return *context;
}

} // namespace

EngineContext::EngineContext()
{
    XSetErrorHandler(reportXError);
    DisplayLoss::install();

    SIrrlichtCreationParameters params;
    params.DriverType = video::EDT_OPENGL;
    params.WindowSize = core::dimension2du(1366, 768);
    params.Bits = 32;
    params.Fullscreen = false;
    params.Stencilbuffer = false;
    params.Vsync = true;
    params.EventReceiver = &EngineLog::instance();
    params.LoggingLevel = ELL_WARNING;
    device = createDeviceEx(params);
    if (device == nullptr) {
        // Nothing else exists yet, so there is nothing to take down.
        std::cout << "Torvel cannot open its window: " << windowFailureReason() << "." << std::endl;
        std::exit(0);
    }
    device->setResizable(true);
    driver = device->getVideoDriver();
    nameWindowClass(driver);
    sceneManager = device->getSceneManager();
    airspace = new Airspace();
    audioManager = torvel::createAudioManager(true, "cAudioEngineLog.html");
    hudFont = loadHudFont(device->getGUIEnvironment());
}

IrrlichtDevice* getDevice() { return instance().device; }
scene::ISceneManager* getSceneManager() { return instance().sceneManager; }
video::IVideoDriver* getVideoDriver() { return instance().driver; }
torvel::AudioManager* getAudioManager() { return instance().audioManager; }
Airspace* getAirspace() { return instance().airspace; }
gui::IGUIFont* getHudFont() { return instance().hudFont; }

bool hasEngineContext() { return context != nullptr; }

bool isVsyncRefused() { return vsyncRefused; }

void destroyEngineContext()
{
    if (context == nullptr)
        return;
    context->device->drop();
    if (context->audioManager != nullptr)
        context->audioManager->shutDown();
    delete context;
    context = nullptr;
    vsyncRefused = false;
}
