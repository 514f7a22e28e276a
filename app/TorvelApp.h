#pragma once

#include <IEventReceiver.h>
#include <irrArray.h>
#include <irrString.h>
#include <rect.h>

#include <functional>
#include <memory>

#include "CommandLine.h"
#include "FireUnit.h"
#include "FramePacer.h"
#include "FramePhase.h"
#include "GameClock.h"
#include "InputMap.h"
#include "Menu.h"
#include "PointerGrab.h"
#include "Radar.h"
#include "RestingScreen.h"
#include "RoundMode.h"
#include "Settings.h"
#include "VirtualStick.h"
#include "WindowMode.h"

namespace irr {
class IrrlichtDevice;
namespace scene { class ISceneManager; }
namespace video { class IVideoDriver; class IImage; }
}
class GameMode;
class HitEffects;
class MenuView;
class RaidMode;
class ViewShake;

// The application: owns the player's fire unit, builds the world, receives
// every engine event and runs the frame loop. The two ways to play, the
// round and the air raid, are its modes: each pass it asks the one that
// holds the screen to step and to draw its part. Between them it shows the
// invitation and its menu; a hit's fireball and boom are its too.
//
// Time flows from here: each pass of the loop reads the real time once,
// turns it into the game time (the real time less the pauses) and hands that
// to everything the frame and its events do.
class TorvelApp : public irr::IEventReceiver {
public:
    // The real time in milliseconds, as the engine's timer gives it.
    using Clock = std::function<irr::u32()>;
    // Told as each phase of a frame ends.
    using PhaseWatch = std::function<void(FramePhase)>;

    TorvelApp();
    virtual ~TorvelApp();

    bool OnEvent(const irr::SEvent& event) override;
    void run();

    // One pass of the loop: the time is read, the device's run step delivers
    // the events, the pointer and the virtual stick are read, then a frame,
    // and a sleep where the driver does not hold frames to the display's
    // rate. False once the device has stopped.
    bool step();
    // One frame at the time read last: update, draw, end the scene.
    void frame();
    // The two halves of a frame: what moves with the time, then the picture.
    // A pass of the loop at rest runs the first only.
    void update();
    void draw();
    // The time for the coming pass: its events and its frame.
    void readClock();

    void takeScreenshot();
    void buildWorld();
    // The HUD's lines of the mode that holds the screen, at the frame's time.
    irr::core::stringw hudLines() const;
    // Those lines, the axis marks and what the mode draws over them.
    void drawHud(const irr::core::stringw& lines);
    // The radar and the marks at the screen's edge, from the frame's aim,
    // clear of the HUD's corner.
    void drawRadar(const irr::core::dimension2di& hudCorner);
    // The dark band the HUD's lines are drawn on, before them.
    void drawHudBand(const irr::core::stringw& lines);
    // The HUD's corner, from the top left, that the radar's edge marks keep
    // clear of: the band of those lines, which a raid's extra lines make taller.
    irr::core::dimension2di hudCorner(const irr::core::stringw& lines);
    // The mode's panel or banner, or between plays the invitation (with the
    // controls beside it until the first round or raid); the box at the centre it
    // filled, empty when none.
    irr::core::rect<irr::s32> drawBetweenRounds();
    // What stands over the scene besides: the word of a pause, clear of the
    // box at the centre; the reload prompt below the sight; the name of a
    // screenshot just saved.
    void drawNotices(const irr::core::rect<irr::s32>& centreBox);


    // The window this run asks for; the settings' choice unless told.
    void chooseWindow(CommandLine::Window choice) { windowChoice = choice; }
    const Settings& getSettings() const { return settings; }

    // P and Esc pause and go on; losing the window's focus pauses too.
    // The pause opens the menu that fits: between rounds the invitation's,
    // else the pause's; going on closes it.
    void setPaused(bool pause);
    bool isPaused() const { return gameClock.isPaused(); }
    const Menu& getMenu() const { return menu; }
    // How long the name of a saved screenshot stays up, in ms of real time.
    static constexpr irr::u32 savedNoticeTime = 2500;

    // Whether the game follows the window's focus: it pauses when the focus
    // goes and holds the mouse pointer for aiming while it has it. It does
    // unless told otherwise: tests that share one display with other windows.
    void setFollowsFocus(bool follow) { followsFocus = follow; }
    // The device timer's real time stands in by default; a caller that needs
    // to set the time replaces it.
    void setClock(Clock source) { clock = std::move(source); }
    irr::u32 getGameTime() const { return gameTime; }
    // Whether the radar and the edge marks are drawn; they are by default.
    void setRadarShown(bool shown) { radarShown = shown; }
    bool isRadarShown() const { return radarShown; }
    // Someone to tell as each phase of a frame ends; empty for none.
    void watchPhases(PhaseWatch watch) { phaseWatch = std::move(watch); }
    // The HUD text and marks can be left out, to weigh what they cost.
    void setHudShown(bool shown) { hudShown = shown; }

    FireUnit& getFireUnit() { return fireUnit; }
    const RoundScreen& getRoundScreen() const { return roundMode->getScreen(); }
    const ScoreTable& getScoreTable() const { return roundMode->getTable(); }
    const HitEffects* getHitEffects() const { return hitEffects.get(); }
    const RaidMode* getRaidMode() const { return raidMode.get(); }
    // The next raid F8 starts plays this raid number rather than one drawn
    // from the clock.
    void setRaidNumber(irr::u32 number);
    bool usesVirtualStick() const { return useVirtualStick; }
    const RestingScreen& getRestingScreen() const { return restingScreen; }
    // Files the next frame will be written to, in the order T was pressed.
    const irr::core::array<irr::core::stringc>& getPendingScreenshots() const { return pendingScreenshots; }

private:
    void phaseDone(FramePhase phase) { if (phaseWatch) phaseWatch(phase); }
    void followFocus();
    void aimWithMouse();
    void turnListener();
    // The mode that holds the screen: the raid's from its start to the end
    // of its panel, the round's the rest of the time.
    GameMode& mode() const;
    // F9 or F8: the mode starts unless the other is playing; a panel the
    // other left goes.
    void play(GameMode& next);
    void drawPauseNotice(const irr::core::rect<irr::s32>& centreBox);
    // A key, a click or a stick button for the open menu; true when it was the menu's.
    bool menuKey(irr::EKEY_CODE key);
    bool menuHand(const irr::SEvent& guiEvent);
    void menuStick(const irr::SEvent& joystick);
    void obey(Menu::Command command, const Settings::Values& values);
    void changeSettings(const Settings::Values& values);
    void shakeView();
    void writePendingScreenshots();
    void pace();
    void applySettings();
    void placeWindow();
    void toggleFullscreen();
    RestingScreen::Pass describePass() const;

    irr::IrrlichtDevice* device;
    irr::scene::ISceneManager* sceneManager;
    irr::video::IVideoDriver* driver;
    FireUnit fireUnit;
    VirtualStick virtualStick;               // keyboard and mouse as a joystick
    bool useVirtualStick;                    // no joystick was found at start
    FramePacer pacer;                        // 60 frames a second where vsync was refused
    irr::core::array<irr::core::stringc> pendingScreenshots; // names fixed at each T key-down, written at the end of the next frame
    GameClock gameClock;                     // real time less the pauses
    Clock clock;                             // empty: the device timer's real time
    irr::u32 realTime;                       // real time read for this pass of the loop
    irr::u32 gameTime;                       // game time of this pass of the loop
    PointerGrab pointer;                     // the mouse pointer held for aiming
    bool followsFocus;                       // the focus pauses the game and grabs the pointer
    bool hadFocus;                           // the window had the focus at the last pass
    std::unique_ptr<RoundMode> roundMode;    // the round, its panel and the best rounds
    std::unique_ptr<HitEffects> hitEffects;  // fireballs and booms of hits; null without the turret
    std::unique_ptr<RaidMode> raidMode;      // the air raid beside the round; null without the turret
    bool anyPlayed;                          // a round or a raid was started, in this run
    ViewShake* viewShake;                    // on the camera after the turret's animator; owned, one reference
    Radar radar;                             // the radar and the edge marks
    bool radarShown = true;                  // the player's choice
    Settings settings;                       // the player's settings, kept in the configuration folder
    InputMap inputMap;                       // keys, mouse and stick to actions, as the settings say
    WindowMode windowMode;                   // fullscreen through the window manager
    Menu menu;                               // which menu is open, what its keys do
    std::unique_ptr<MenuView> menuView;      // the menu on screen; null without the turret
    bool menuShown;                          // some of the menu was drawn in this frame
    irr::u32 stickButtonsSeen;               // the stick's buttons at its last event
    bool hrtfAsked;                          // the head-related filters as last asked of the sound
    CommandLine::Window windowChoice;        // the window asked for on the command line
    bool windowPlaced;                       // the first pass has put the window as asked
    RestingScreen restingScreen;             // whether a pass's frame would be the one on screen
    bool inputSeen;                          // a key or mouse event arrived since the last frame drawn
    PhaseWatch phaseWatch;                   // told as each phase of a frame ends; empty for none
    bool hudShown;                           // drawHud is called
    irr::core::stringc savedShot;            // the screenshot written last; empty before the first
    irr::u32 savedShotTime;                  // real time it was written at
};
