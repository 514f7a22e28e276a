#include "TorvelApp.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "AudioManager.h"
#include "BackBuffer.h"
#include "EngineContext.h"
#include "EngineLog.h"
#include "FlightRules.h"
#include "HitEffects.h"
#include "StopSignals.h"
#include "TextureLoader.h"
#include "WindowFocus.h"

#include <irrlicht.h>

#include <chrono>
#include <ctime>
#include <iostream>
#include <thread>

using namespace irr;

TorvelApp::TorvelApp()
    : device(nullptr), sceneManager(nullptr), driver(nullptr), useVirtualStick(false), realTime(0),
      gameTime(0), pointer(getDevice()->getCursorControl()), followsFocus(true), hadFocus(false),
      scoreTable(ScoreTable::defaultPath()), roundsEndedSeen(0), burstsAtRoundStart(0)
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
    scoreTable.load();
    // The fireball's texture is made ready now, not at the first hit.
    hitEffects = std::make_unique<HitEffects>(
        sceneManager, TextureLoader::mipMapped(driver, HitEffects::fireballFile), getAudioManager());
    Airspace* airspace = getAirspace();
    roundsEndedSeen = airspace->getRoundsEnded();
    // A hit happens in a step of the fire unit, at that step's moment.
    airspace->setHitListener([this](const Aircraft& jet) {
        hitEffects->hit(jet.getNode(), jet.getAbsolutePosition(), fireUnit.getStepTime());
    });
    device->setEventReceiver(this);

    core::array<SJoystickInfo> joysticks;
    const bool joystickSupport = device->activateJoysticks(joysticks);
    if (joystickSupport) {
        std::cout << "Joystick support is enabled and " << joysticks.size()
                  << " joystick(s) are present." << std::endl;
    }
    useVirtualStick = VirtualStick::isNeeded(joystickSupport, joysticks.size());
    readClock();
}

TorvelApp::~TorvelApp()
{
    // The airspace outlives us.
    getAirspace()->setHitListener(nullptr);
    // The device outlives us; nothing it delivers later may reach this object.
    device->setEventReceiver(&EngineLog::instance());
    if (gameClock.isPaused())
        device->getTimer()->start();
}

bool TorvelApp::OnEvent(const SEvent& event)
{
    if (EngineLog::report(event))
        return true;
    const bool keyDown = event.EventType == EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown;
    if (keyDown) {
        switch (event.KeyInput.Key) {
        case KEY_KEY_P:
        case KEY_ESCAPE:
            setPaused(!isPaused());
            return true;
        case KEY_KEY_T:
            takeScreenshot();
            return true;
        case KEY_F12:
            device->closeDevice();
            return true;
        default:
            break;
        }
    }
    if (isPaused()) {
        // Nothing else acts while paused, but a key or button let go in the
        // pause must not stay held for the stick afterwards.
        bool release = false;
        if (event.EventType == EET_KEY_INPUT_EVENT)
            release = !event.KeyInput.PressedDown;
        else if (event.EventType == EET_MOUSE_INPUT_EVENT)
            release = event.MouseInput.Event == EMIE_LMOUSE_LEFT_UP ||
                      event.MouseInput.Event == EMIE_RMOUSE_LEFT_UP;
        if (useVirtualStick && release)
            virtualStick.watch(event, gameTime);
        return event.EventType == EET_JOYSTICK_INPUT_EVENT;
    }
    if (useVirtualStick)
        virtualStick.watch(event, gameTime);
    if (keyDown) {
        switch (event.KeyInput.Key) {
        case KEY_F9:
            getAirspace()->start(gameTime);
            startRound();
            return true;
        case KEY_F10:
            getAirspace()->stop();
            roundScreen.roundAbandoned();
            return true;
        default:
            break;
        }
    }
    return fireUnit.OnEvent(event);
}

void TorvelApp::setPaused(bool pause)
{
    if (pause == isPaused())
        return;
    // The engine's scene clock drives the jets' flight and the smoke: it
    // stands still with the game clock, and the sounds wait with them.
    torvel::AudioManager* audio = getAudioManager();
    if (pause) {
        gameClock.pause(realTime);
        device->getTimer()->stop();
        if (audio)
            audio->pauseAll();
    } else {
        gameClock.resume(realTime);
        device->getTimer()->start();
        if (audio)
            audio->resumeAll();
    }
    gameTime = gameClock.now(realTime);
}

void TorvelApp::run()
{
    while (step()) {
    }
}

void TorvelApp::readClock()
{
    realTime = clock ? clock() : device->getTimer()->getRealTime();
    gameTime = gameClock.now(realTime);
    fireUnit.setTime(gameTime);
}

bool TorvelApp::step()
{
    // The one reading of the time for this pass: its events and its frame.
    readClock();
    // A signal to stop ends the game as F12 does.
    if (StopSignals::requested())
        device->closeDevice();
    if (!device->run())
        return false;
    followFocus();
    aimWithMouse();
    // Right after the engine has delivered its own events, as a polled stick would.
    if (useVirtualStick && !isPaused())
        device->postEventFromUser(virtualStick.nextEvent(gameTime));
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

void TorvelApp::followFocus()
{
    const bool focused = WindowFocus::isFocused(device);
    if (followsFocus && hadFocus && !focused)
        setPaused(true);
    hadFocus = focused;
}

void TorvelApp::aimWithMouse()
{
    // The pointer is the game's only while it aims with the mouse, has the
    // focus and plays; otherwise the player gets it back.
    const bool hold = useVirtualStick && !isPaused() && followsFocus && hadFocus;
    const core::vector2di moved = pointer.poll(hold, driver->getScreenSize());
    if (moved.X != 0 || moved.Y != 0)
        fireUnit.nudge(VirtualStick::mouseDegrees(moved.X), VirtualStick::mouseDegrees(-moved.Y));
}

void TorvelApp::startRound()
{
    roundScreen.roundStarted();
    burstsAtRoundStart = fireUnit.getBurstsFired();
}

void TorvelApp::endRound()
{
    const Airspace* airspace = getAirspace();
    const RoundSummary round{airspace->getRoundHits(), FlightRules::aircraftPerRound, airspace->getPoints(),
                             fireUnit.getBurstsFired() - burstsAtRoundStart};
    const ScoreTable::Entry entry{round.points, round.hits, static_cast<u64>(std::time(nullptr))};
    roundScreen.roundEnded(round, scoreTable.record(entry), gameTime);
}

void TorvelApp::frame()
{
    if (!isPaused()) {
        Airspace* airspace = getAirspace();
        airspace->update(gameTime);
        if (airspace->getRoundsEnded() != roundsEndedSeen) {
            roundsEndedSeen = airspace->getRoundsEnded();
            endRound();
        }
        fireUnit.advance(gameTime);
        if (hitEffects)
            hitEffects->update(gameTime);
    }
    driver->beginScene(true, true, video::SColor(0xFF808080), video::SExposedVideoData(), nullptr);
    sceneManager->drawAll();
    turnListener();
    drawHud();
    fireUnit.update(gameTime);
    drawBetweenRounds();
    if (isPaused())
        drawPauseNotice();
    writePendingScreenshots();
    driver->endScene();
}

void TorvelApp::turnListener()
{
    // The listener stays at the gun and looks where the player looks, so a
    // jet on the left of the screen is heard on the left.
    torvel::AudioManager* audio = getAudioManager();
    const scene::ICameraSceneNode* camera = fireUnit.getCamera();
    if (audio == nullptr || camera == nullptr)
        return;
    core::vector3df forward = camera->getTarget() - camera->getAbsolutePosition();
    forward.normalize();
    core::vector3df up = camera->getUpVector();
    up.normalize();
    const float at[3] = {forward.X, forward.Y, forward.Z};
    const float upward[3] = {up.X, up.Y, up.Z};
    audio->setListenerOrientation(at, upward);
}

void TorvelApp::takeScreenshot()
{
    // The name is the time of the key press; the picture is the next frame,
    // because the frame shown on screen can no longer be read back.
    core::stringc name(realTime);
    name += ".png";
    pendingScreenshots.push_back(name);
}

void TorvelApp::writePendingScreenshots()
{
    if (pendingScreenshots.empty())
        return;
    video::IImage* image = BackBuffer::capture(driver);
    if (image != nullptr) {
        for (u32 i = 0; i < pendingScreenshots.size(); ++i)
            driver->writeImageToFile(image, pendingScreenshots[i], 0);
        image->drop();
    } else {
        std::cerr << "Screenshot failed: the frame could not be read." << std::endl;
    }
    pendingScreenshots.clear();
}
