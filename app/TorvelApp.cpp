#include "TorvelApp.h"

#include "Airspace.h"
#include "EngineContext.h"

#include <irrlicht.h>
#include <GL/gl.h>

#include <iostream>

using namespace irr;

TorvelApp::TorvelApp()
    : device(nullptr), sceneManager(nullptr), driver(nullptr)
{
    // fireUnit is built first, as a member: its first engine request opens the window.
    device = getDevice();
    driver = getVideoDriver();
    sceneManager = getSceneManager();

    if (!fireUnit.isReady()) {
        // Without its guns the turret cannot work: end before the first frame.
        device->closeDevice();
        return;
    }

    buildWorld();
    device->setEventReceiver(this);

    core::array<SJoystickInfo> joysticks;
    if (device->activateJoysticks(joysticks)) {
        std::cout << "Joystick support is enabled and " << joysticks.size()
                  << " joystick(s) are present." << std::endl;
    }
}

TorvelApp::~TorvelApp()
{
    // The device outlives us; nothing it delivers later may reach this object.
    device->setEventReceiver(nullptr);
}

bool TorvelApp::OnEvent(const SEvent& event)
{
    if (event.EventType == EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown) {
        switch (event.KeyInput.Key) {
        case KEY_KEY_T:
            takeScreenshot();
            return true;
        case KEY_F9:
            getAirspace()->start();
            return true;
        case KEY_F10:
            getAirspace()->stop();
            return true;
        case KEY_F12:
            device->closeDevice();
            return true;
        default:
            break;
        }
    }
    return fireUnit.OnEvent(event);
}

void TorvelApp::run()
{
    while (device->run())
        frame();
}

void TorvelApp::frame()
{
    getAirspace()->update();
    driver->beginScene(true, true, video::SColor(0xFF808080), video::SExposedVideoData(), nullptr);
    sceneManager->drawAll();
    drawHud();
    fireUnit.update();
    writePendingScreenshots();
    driver->endScene();
}

void TorvelApp::takeScreenshot()
{
    // The name is the time of the key press; the picture is the next frame,
    // because the frame shown on screen can no longer be read back.
    const u32 now = device->getTimer()->getRealTime();
    core::stringc name(now);
    name += ".png";
    pendingScreenshots.push_back(name);
}

void TorvelApp::writePendingScreenshots()
{
    if (pendingScreenshots.empty())
        return;
    // Read the frame just drawn from the back buffer, before the swap.
    glReadBuffer(GL_BACK);
    video::IImage* image = driver->createScreenShot(video::ECF_UNKNOWN, video::ERT_FRAME_BUFFER);
    if (image != nullptr) {
        for (u32 i = 0; i < pendingScreenshots.size(); ++i)
            driver->writeImageToFile(image, pendingScreenshots[i], 0);
        image->drop();
    } else {
        std::cerr << "Screenshot failed: the frame buffer gave no image." << std::endl;
    }
    pendingScreenshots.clear();
}
