#pragma once

#include <IEventReceiver.h>
#include <irrArray.h>
#include <irrString.h>

#include "FireUnit.h"
#include "FramePacer.h"
#include "VirtualStick.h"

namespace irr {
class IrrlichtDevice;
namespace scene { class ISceneManager; }
namespace video { class IVideoDriver; class IImage; }
}

// The application: owns the player's fire unit, builds the world, receives
// every engine event and runs the frame loop.
class TorvelApp : public irr::IEventReceiver {
public:
    TorvelApp();
    virtual ~TorvelApp();

    bool OnEvent(const irr::SEvent& event) override;
    void run();

    // One pass of the loop: the device's run step (events), the virtual
    // stick's event, then a frame, and a sleep where the driver does not
    // hold frames to the display's rate. False once the device has stopped.
    bool step();
    // One frame: update, draw, end the scene.
    void frame();

    void takeScreenshot();
    void buildWorld();
    void drawHud();

    FireUnit& getFireUnit() { return fireUnit; }
    bool usesVirtualStick() const { return useVirtualStick; }
    // Files the next frame will be written to, in the order T was pressed.
    const irr::core::array<irr::core::stringc>& getPendingScreenshots() const { return pendingScreenshots; }

private:
    void writePendingScreenshots();
    irr::video::IImage* captureBackBuffer();
    void pace();

    irr::IrrlichtDevice* device;
    irr::scene::ISceneManager* sceneManager;
    irr::video::IVideoDriver* driver;
    FireUnit fireUnit;
    VirtualStick virtualStick;               // keyboard and mouse as a joystick
    bool useVirtualStick;                    // no joystick was found at start
    FramePacer pacer;                        // 60 frames a second where vsync was refused
    irr::core::array<irr::core::stringc> pendingScreenshots; // names fixed at each T key-down, written at the end of the next frame
};
