#include "TorvelApp.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "EngineContext.h"
#include "EngineLog.h"

#include <irrlicht.h>
#include <GL/gl.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <thread>

using namespace irr;

TorvelApp::TorvelApp()
    : device(nullptr), sceneManager(nullptr), driver(nullptr), useVirtualStick(false)
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
    Aircraft::preload();
    device->setEventReceiver(this);

    core::array<SJoystickInfo> joysticks;
    const bool joystickSupport = device->activateJoysticks(joysticks);
    if (joystickSupport) {
        std::cout << "Joystick support is enabled and " << joysticks.size()
                  << " joystick(s) are present." << std::endl;
    }
    useVirtualStick = VirtualStick::isNeeded(joystickSupport, joysticks.size());
}

TorvelApp::~TorvelApp()
{
    // The device outlives us; nothing it delivers later may reach this object.
    device->setEventReceiver(&EngineLog::instance());
}

bool TorvelApp::OnEvent(const SEvent& event)
{
    if (EngineLog::report(event))
        return true;
    if (useVirtualStick)
        virtualStick.watch(event);
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
    while (step()) {
    }
}

bool TorvelApp::step()
{
    if (!device->run())
        return false;
    // Right after the engine has delivered its own events, as a polled stick would.
    if (useVirtualStick)
        device->postEventFromUser(virtualStick.nextEvent());
    frame();
    if (isVsyncRefused())
        pace();
    return true;
}

void TorvelApp::pace()
{
    // Without vsync the loop would draw as fast as it can on every core.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const std::int64_t nowUs = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    std::this_thread::sleep_for(std::chrono::microseconds(pacer.sleepAfterFrame(nowUs)));
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
    video::IImage* image = captureBackBuffer();
    if (image != nullptr) {
        for (u32 i = 0; i < pendingScreenshots.size(); ++i)
            driver->writeImageToFile(image, pendingScreenshots[i], 0);
        image->drop();
    } else {
        std::cerr << "Screenshot failed: the frame could not be read." << std::endl;
    }
    pendingScreenshots.clear();
}

video::IImage* TorvelApp::captureBackBuffer()
{
    // The engine's own screenshot reads the front buffer, which software
    // renderers and compositors leave black after the swap. The frame just
    // drawn is still whole in the back buffer until endScene.
    const core::dimension2du size = driver->getScreenSize();
    if (size.Width == 0 || size.Height == 0)
        return nullptr;
    video::IImage* image = driver->createImage(video::ECF_R8G8B8, size);
    if (image == nullptr)
        return nullptr;
    u8* pixels = static_cast<u8*>(image->lock());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.Width, size.Height, GL_RGB, GL_UNSIGNED_BYTE, pixels);

    // OpenGL counts rows from the bottom, images from the top.
    const u32 pitch = image->getPitch();
    core::array<u8> row(pitch);
    row.set_used(pitch);
    for (u32 top = 0, bottom = size.Height - 1; top < bottom; ++top, --bottom) {
        memcpy(row.pointer(), pixels + top * pitch, pitch);
        memcpy(pixels + top * pitch, pixels + bottom * pitch, pitch);
        memcpy(pixels + bottom * pitch, row.pointer(), pitch);
    }
    image->unlock();
    return image;
}
