#pragma once

#include <IEventReceiver.h>
#include <irrString.h>

#include "FireUnit.h"

namespace irr {
class IrrlichtDevice;
namespace scene { class ISceneManager; }
namespace video { class IVideoDriver; }
}

// The application: owns the player's fire unit, builds the world, receives
// every engine event and runs the frame loop.
class TorvelApp : public irr::IEventReceiver {
public:
    TorvelApp();
    virtual ~TorvelApp();

    bool OnEvent(const irr::SEvent& event) override;
    void run();

    // One frame of the loop; run() calls it while the device runs.
    void frame();

    void takeScreenshot();
    void buildWorld();
    void drawHud();

    FireUnit& getFireUnit() { return fireUnit; }
    // The file the next frame will capture, empty when none is asked for.
    const irr::core::stringc& getPendingScreenshot() const { return pendingScreenshot; }

private:
    void writePendingScreenshot();

    irr::IrrlichtDevice* device;
    irr::scene::ISceneManager* sceneManager;
    irr::video::IVideoDriver* driver;
    FireUnit fireUnit;
    irr::core::stringc pendingScreenshot;   // file name fixed at the T key-down, written at the end of the next frame
};
