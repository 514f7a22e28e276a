#pragma once

#include <IEventReceiver.h>
#include <irrArray.h>
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
    // Files the next frame will be written to, in the order T was pressed.
    const irr::core::array<irr::core::stringc>& getPendingScreenshots() const { return pendingScreenshots; }

private:
    void writePendingScreenshots();

    irr::IrrlichtDevice* device;
    irr::scene::ISceneManager* sceneManager;
    irr::video::IVideoDriver* driver;
    FireUnit fireUnit;
    irr::core::array<irr::core::stringc> pendingScreenshots; // names fixed at each T key-down, written at the end of the next frame
};
