#pragma once

// The process-wide holder of the engine objects. It comes into being on the
// first call of any accessor and is torn down once, by main, after the
// application object is gone. Accessors must not be called after teardown:
// they would open a new window.

namespace irr {
class IrrlichtDevice;
namespace scene { class ISceneManager; }
namespace video { class IVideoDriver; }
namespace gui { class IGUIFont; }
}
namespace torvel { class AudioManager; }
class Airspace;

struct EngineContext {
    EngineContext();

    irr::IrrlichtDevice* device;             // holds the reference createDevice returned
    irr::scene::ISceneManager* sceneManager; // borrowed from the device
    irr::video::IVideoDriver* driver;        // borrowed from the device
    torvel::AudioManager* audioManager;      // shut down at teardown, never deleted
    Airspace* airspace;                      // never destroyed
    irr::gui::IGUIFont* hudFont;             // borrowed from the GUI font cache; null if the font is missing
};

irr::IrrlichtDevice* getDevice();
irr::scene::ISceneManager* getSceneManager();
irr::video::IVideoDriver* getVideoDriver();
torvel::AudioManager* getAudioManager();
Airspace* getAirspace();
irr::gui::IGUIFont* getHudFont();

void destroyEngineContext();

// Whether the driver refused the vsync the window asks for: the X server
// answered the request with an error. Frames are then not held to the
// display's rate by the driver.
bool isVsyncRefused();

// Whether a context exists right now. Lets code that runs late (and tests)
// ask without creating one.
bool hasEngineContext();
