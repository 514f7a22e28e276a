#include "TorvelApp.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "AudioManager.h"
#include "BackBuffer.h"
#include "EngineContext.h"
#include "EngineLog.h"
#include "HitEffects.h"
#include "MenuView.h"
#include "RaidMode.h"
#include "ViewShake.h"
#include "StopSignals.h"
#include "TextureLoader.h"
#include "TracerSceneNode.h"
#include "WindowFocus.h"

#include <irrlicht.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace irr;

TorvelApp::TorvelApp()
    : device(nullptr), sceneManager(nullptr), driver(nullptr), useVirtualStick(false), realTime(0),
      gameTime(0), pointer(getDevice()->getCursorControl()), followsFocus(true), hadFocus(false),
      anyPlayed(false), viewShake(nullptr), settings(Settings::defaultPath()), windowMode(getDevice()),
      menuShown(false), stickButtonsSeen(0), hrtfAsked(true), windowChoice(CommandLine::Window::AsSet),
      windowPlaced(false), inputSeen(false), hudShown(true), savedShotTime(0)
{
    // fireUnit is built first, as a member: its first engine request opens the window.
    device = getDevice();
    driver = getVideoDriver();
    sceneManager = getSceneManager();
    roundMode = std::make_unique<RoundMode>(*getAirspace(), fireUnit, ScoreTable::defaultPath());

    if (!fireUnit.isReady()) {
        // Without its guns the turret cannot work: end before the first frame.
        device->closeDevice();
        return;
    }

    buildWorld();
    menuView = std::make_unique<MenuView>(device->getGUIEnvironment(), getHudFont());
    Aircraft::preload();
    roundMode->loadTable();
    settings.load();
    applySettings();
    // The fireball's texture is made ready now, not at the first hit.
    hitEffects = std::make_unique<HitEffects>(
        sceneManager, TextureLoader::mipMapped(driver, HitEffects::fireballFile), getAudioManager());
    hitEffects->setDuckedSound(fireUnit.getFireSound());
    // A hit happens in a step of the fire unit, at that step's moment.
    getAirspace()->setHitListener([this](const Aircraft& jet) {
        hitEffects->hit(jet.getNode(), jet.getAbsolutePosition(), fireUnit.getStepTime());
    });
    raidMode = std::make_unique<RaidMode>(sceneManager, getAudioManager(), hitEffects.get(), fireUnit,
                                          RaidTable::defaultPath());
    raidMode->preload();
    raidMode->loadTable();
    viewShake = new ViewShake();
    fireUnit.getCamera()->addAnimator(viewShake);
    // Each round's line goes to the way of playing that holds the screen.
    fireUnit.setHitCheck([this](const core::line3df& shot) { return mode().shoot(shot, fireUnit.getStepTime()); });
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
    if (viewShake)
        viewShake->drop();
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
    if (event.EventType == EET_KEY_INPUT_EVENT || event.EventType == EET_MOUSE_INPUT_EVENT)
        inputSeen = true;
    if (event.EventType == EET_GUI_EVENT)
        return menuHand(event);
    if (event.EventType == EET_KEY_INPUT_EVENT) {
        // The menu reads the keys itself: a button clicked last must not take them.
        gui::IGUIEnvironment* gui = device->getGUIEnvironment();
        if (gui->getFocus() != nullptr)
            gui->removeFocus(gui->getFocus());
    }
    const bool keyDown = event.EventType == EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown;
    const InputMap::Action action = keyDown ? inputMap.actionOfKey(event.KeyInput.Key) : InputMap::Action::None;
    if (keyDown && isPaused() && action != InputMap::Action::Quit) {
        // While a key is awaited every key but F12 is for the menu; on the
        // Options screen all but the picture and F11; on the others the
        // keys that have no word of their own in a pause.
        const bool options = menu.getScreen() == Menu::Screen::Options;
        const bool forMenu = menu.getWaiting() != Menu::Waiting::Nothing
            || (options && action != InputMap::Action::Screenshot && action != InputMap::Action::Fullscreen)
            || (action != InputMap::Action::Pause && action != InputMap::Action::Screenshot
                && action != InputMap::Action::Fullscreen);
        if (forMenu && menuKey(event.KeyInput.Key))
            return true;
    }
    if (event.EventType == EET_JOYSTICK_INPUT_EVENT)
        menuStick(event);
    switch (action) {
    case InputMap::Action::Pause:
        setPaused(!isPaused());
        return true;
    case InputMap::Action::Screenshot:
        takeScreenshot();
        return true;
    case InputMap::Action::Quit:
        device->closeDevice();
        return true;
    case InputMap::Action::Fullscreen:
        // Not taken: the fire unit still sees it, as every key that is not
        // one of the round's own.
        toggleFullscreen();
        break;
    default:
        break;
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
    if (action == InputMap::Action::StartRound) {
        play(*roundMode);
        return true;
    }
    if (action == InputMap::Action::StartRaid) {
        if (raidMode)
            play(*raidMode);
        return true;
    }
    if (action == InputMap::Action::StopRound) {
        mode().stop();
        return true;
    }
    if (event.EventType == EET_JOYSTICK_INPUT_EVENT)
        return fireUnit.OnEvent(inputMap.stickEvent(event));
    return fireUnit.OnEvent(event);
}

GameMode& TorvelApp::mode() const
{
    if (raidMode && raidMode->holdsScreen())
        return *raidMode;
    return *roundMode;
}

void TorvelApp::play(GameMode& next)
{
    // The raid and the round do not mix: each key waits for the other to end.
    GameMode* other = &next == roundMode.get() ? static_cast<GameMode*>(raidMode.get()) : roundMode.get();
    if (other != nullptr && other->isPlaying())
        return;
    if (!next.start(gameTime))
        return;
    anyPlayed = true;
    if (other != nullptr)
        other->stop();
}

void TorvelApp::setRaidNumber(u32 number)
{
    if (raidMode)
        raidMode->playNext(number);
}

bool TorvelApp::menuKey(EKEY_CODE key)
{
    Settings::Values values = settings.get();
    bool handled = false;
    const Menu::Command command = menu.key(key, values, handled);
    obey(command, values);
    return handled;
}

bool TorvelApp::menuHand(const SEvent& guiEvent)
{
    const MenuView::Hand hand = menuView ? menuView->read(guiEvent) : MenuView::Hand();
    if (hand.kind == MenuView::Hand::Kind::None)
        return false;
    Settings::Values values = settings.get();
    Menu::Command command = Menu::Command::None;
    switch (hand.kind) {
    case MenuView::Hand::Kind::Click:
        // A click on the invitation's items while the game plays (the
        // pointer free) opens its menu first.
        if (!isPaused())
            setPaused(true);
        command = menu.click(hand.index, hand.slot, values);
        break;
    case MenuView::Hand::Kind::Slide:
        command = menu.slide(hand.index, hand.position, values);
        break;
    case MenuView::Hand::Kind::Point:
        menu.point(hand.index);
        break;
    case MenuView::Hand::Kind::None:
        break;
    }
    obey(command, values);
    return true;
}

void TorvelApp::menuStick(const SEvent& joystick)
{
    // The buttons newly down, for a stick button awaited by the menu.
    const u32 buttons = joystick.JoystickEvent.ButtonStates;
    const u32 pressed = buttons & ~stickButtonsSeen;
    stickButtonsSeen = buttons;
    if (pressed == 0 || menu.getWaiting() != Menu::Waiting::StickButton)
        return;
    int button = 0;
    while ((pressed & (1u << button)) == 0)
        ++button;
    Settings::Values values = settings.get();
    obey(menu.stickButton(button, values), values);
}

void TorvelApp::obey(Menu::Command command, const Settings::Values& values)
{
    switch (command) {
    case Menu::Command::None:
        break;
    case Menu::Command::StartRound:
        setPaused(false);
        play(*roundMode);
        break;
    case Menu::Command::StartRaid:
        setPaused(false);
        if (raidMode)
            play(*raidMode);
        break;
    case Menu::Command::Resume:
        setPaused(false);
        break;
    case Menu::Command::Quit:
        device->closeDevice();
        break;
    case Menu::Command::SettingsChanged:
        changeSettings(values);
        break;
    }
}

void TorvelApp::changeSettings(const Settings::Values& values)
{
    // Applied at once, and kept.
    settings.change(values);
    applySettings();
    if (values.fullscreen != windowMode.isFullscreen())
        windowMode.setFullscreen(values.fullscreen);
}

void TorvelApp::setPaused(bool pause)
{
    if (pause == isPaused())
        return;
    if (pause) {
        menu.open(mode().invites(gameTime) ? Menu::Screen::BetweenRounds : Menu::Screen::Pause);
    } else {
        menu.close();
    }
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
    if (!windowPlaced)
        placeWindow();
    followFocus();
    aimWithMouse();
    // Right after the engine has delivered its own events, as a polled stick would.
    if (useVirtualStick && !isPaused())
        fireUnit.OnEvent(virtualStick.nextEvent(gameTime));
    update();
    // At rest a frame like the one on screen is not drawn, and the loop
    // sleeps in its place whatever the driver does with vsync.
    const bool drawn = restingScreen.mustDraw(describePass());
    if (drawn) {
        draw();
        inputSeen = false;
    }
    if (isVsyncRefused() || !drawn)
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
    if (moved.X != 0 || moved.Y != 0) {
        const InputMap::Turn turn = inputMap.mouseTurn(moved);
        fireUnit.nudge(turn.yaw, turn.pitch);
    }
}

void TorvelApp::applySettings()
{
    const Settings::Values& values = settings.get();
    inputMap = InputMap(values);
    virtualStick.setKeyControls(inputMap.getKeyControls());
    if (torvel::AudioManager* audio = getAudioManager()) {
        audio->setVolume(static_cast<f32>(values.effectsVolume) / 100.0f);
        // The sound opened with the filters asked for; asked again only when the choice changes.
        if (values.hrtf != hrtfAsked)
            audio->setHrtf(values.hrtf);
    }
    hrtfAsked = values.hrtf;
    radarShown = values.radar;
}

void TorvelApp::placeWindow()
{
    // On the first pass, when the window is up: the command line's choice
    // holds for this run only.
    windowPlaced = true;
    bool fullscreen = settings.get().fullscreen;
    if (windowChoice != CommandLine::Window::AsSet)
        fullscreen = windowChoice == CommandLine::Window::Fullscreen;
    windowMode.setFullscreen(fullscreen);
}

void TorvelApp::toggleFullscreen()
{
    Settings::Values values = settings.get();
    values.fullscreen = !windowMode.isFullscreen();
    settings.change(values);
    windowMode.setFullscreen(values.fullscreen);
}

void TorvelApp::shakeView()
{
    if (viewShake == nullptr)
        return;
    f32 right = 0.0f, up = 0.0f;
    mode().shake(gameTime, right, up);
    viewShake->set(right, up);
}

void TorvelApp::frame()
{
    update();
    draw();
}

void TorvelApp::update()
{
    if (!isPaused()) {
        mode().step(gameTime);
        shakeView();
        fireUnit.advance(gameTime);
        if (hitEffects)
            hitEffects->update(gameTime);
    }
    phaseDone(FramePhase::UPDATE);
}

void TorvelApp::draw()
{
    driver->beginScene(true, true, video::SColor(0xFF808080), video::SExposedVideoData(), nullptr);
    phaseDone(FramePhase::BEGIN_SCENE);
    sceneManager->drawAll();
    phaseDone(FramePhase::DRAW_ALL);
    turnListener();
    // Nothing is drawn over another: a box at the centre or a pause takes
    // the sight's place.
    const bool boxShown = mode().showsPanel(gameTime) || mode().invites(gameTime);
    fireUnit.setSightShown(!isPaused() && !boxShown);
    if (hudShown) {
        // The mode's lines, composed once for the band, the text and the radar.
        const core::stringw hud = hudLines();
        drawHudBand(hud);
        drawHud(hud);
        // The Options screen stands alone over the scene: on a small screen
        // the radar would cover its corner.
        if (menu.getScreen() != Menu::Screen::Options)
            drawRadar(hudCorner(hud));
    }
    phaseDone(FramePhase::DRAW_HUD);
    fireUnit.update(gameTime);
    phaseDone(FramePhase::FIRE_UNIT_UPDATE);
    // The Options screen stands alone over the scene.
    menuShown = false;
    if (menuView && menu.getScreen() == Menu::Screen::Options) {
        menuView->drawOptions(driver, menu, settings.get());
        menuShown = true;
    } else {
        drawNotices(drawBetweenRounds());
    }
    if (menuView && !menuShown)
        menuView->hide();
    writePendingScreenshots();
    phaseDone(FramePhase::OVERLAYS);
    driver->endScene();
    phaseDone(FramePhase::END_SCENE);
}

RestingScreen::Pass TorvelApp::describePass() const
{
    RestingScreen::Pass pass;
    const GameMode& playing = mode();
    RestingScreen::Look& look = pass.look;
    if (fireUnit.getTurretBase() != nullptr) {
        look.baseRotation = fireUnit.getTurretBase()->getRotation();
        look.gunsRotation = fireUnit.getGuns()->getRotation();
    }
    look.screenSize = driver->getScreenSize();
    look.reloading = fireUnit.isReloading();
    look.hudRounds = fireUnit.getRoundsLeft();
    look.hudAircraft = playing.aircraftLeft();
    look.hudPoints = playing.points();
    look.overlay = (playing.showsPanel(gameTime) ? 1u : 0u) | (playing.invites(gameTime) ? 2u : 0u)
                   | (isPaused() ? 4u : 0u);
    // On a paused clock the jets, the smoke and the fades stand still.
    HitMarker::Look mark;
    const bool flashes = fireUnit.getLeftFlash() != nullptr
                         && (fireUnit.getLeftFlash()->isVisible() || fireUnit.getRightFlash()->isVisible());
    pass.moving = !isPaused()
                  && (playing.isMoving(gameTime) || fireUnit.getBurstRounds() > 0
                      || flashes || (fireUnit.getTracers() != nullptr && fireUnit.getTracers()->getStreakCount() > 0)
                      || fireUnit.getHitMarker().lookAt(gameTime, mark)
                      || (hitEffects != nullptr && hitEffects->getFireballCount() > 0));
    // The reload's seconds count down, and the name of a picture saved shows
    // for a moment, on whatever clock.
    pass.moving = pass.moving || fireUnit.isReloading()
                  || (!savedShot.empty() && realTime - savedShotTime < savedNoticeTime);
    pass.input = inputSeen;
    pass.pictureAsked = !pendingScreenshots.empty();
    pass.now = realTime;
    return pass;
}

core::stringw TorvelApp::hudLines() const
{
    return mode().hudText(gameTime);
}

void TorvelApp::drawRadar(const core::dimension2di& corner)
{
    if (!radarShown)
        return;
    radar.draw(driver, fireUnit.getCamera(), mode().contacts(gameTime), corner);
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
            if (driver->writeImageToFile(image, pendingScreenshots[i], 0)) {
                savedShot = pendingScreenshots[i];
                savedShotTime = realTime;
            }
        image->drop();
    } else {
        std::cerr << "Screenshot failed: the frame could not be read." << std::endl;
    }
    pendingScreenshots.clear();
}
