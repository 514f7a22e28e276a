#pragma once

#include <IEventReceiver.h>
#include <dimension2d.h>
#include <line3d.h>

#include <functional>
#include <memory>

#include "FireControl.h"
#include "FixedStep.h"
#include "HitMarker.h"

namespace irr {
namespace scene { class ICameraSceneNode; class IMeshSceneNode; class ISceneNode; class IBillboardSceneNode; }
namespace video { class ITexture; }
}
namespace torvel { class AudioSource; }
class GunCues;
class TracerSceneNode;
class TurretCamAnimator;

// The player's twin-gun turret: its branch of the scene graph, the camera
// that rides on the guns, joystick aiming, bursts, reloads, muzzle flashes,
// the crosshair and the shot line; the tracer of every round fired, and the
// mark round the sight when a round has set a jet burning.
//
// Time comes from the frame loop: setTime stamps the events of the coming
// run step, advance runs the aiming and the rounds in fixed steps of 1/60 s
// before the scene is drawn, update draws the crosshair after it. So the
// turret turns, and a burst lasts, the same at any frame rate. A joystick
// event only sets the stick's position and works the buttons; a new press
// still starts its burst, and a reload its time, at the event.
//
// Without its guns mesh the turret cannot be built: the constructor says so
// on standard output, leaves nothing in the scene and isReady() is false;
// OnEvent, advance and update then do nothing.
class FireUnit : public irr::IEventReceiver {
public:
    // Where each round's line goes to be tested against the aircraft; true
    // when the round set a jet burning.
    using HitCheck = std::function<bool(const irr::core::line3df&)>;

    FireUnit();
    virtual ~FireUnit();

    // Joystick events set the stick and work the buttons; every other event
    // is left alone (false).
    bool OnEvent(const irr::SEvent& event) override;
    // The game time that the events of the coming run step happen at.
    void setTime(irr::u32 now) { eventTime = now; }
    // Once per frame before drawing: the steps due by game time now, each
    // turning the turret and firing one round of a running burst.
    void advance(irr::u32 now);
    // Once per frame, between drawing the scene and ending it: the camera's
    // aspect, the crosshair, the hit mark and the end of a reload.
    void update(irr::u32 now);
    // Whether update draws the sight and the hit mark: not while something
    // else stands at the centre of the screen.
    void setSightShown(bool shown) { sightShown = shown; }
    bool isSightShown() const { return sightShown; }
    // Turns and elevates by these many degrees at the next step, as the
    // mouse does: positive yaw turns right, positive pitch raises the guns.
    void nudge(irr::f32 yawDegrees, irr::f32 pitchDegrees);

    // A new round of the game: a full magazine, no reload.
    void freshMagazine();
    // The trigger was pressed on an empty magazine and no reload has begun.
    bool promptsReload() const;

    irr::u32 getRoundsLeft() const { return fireControl.getRoundsLeft(); }
    bool isReloading() const { return fireControl.isReloading(); }
    // False when the guns mesh could not be loaded: the turret cannot work.
    bool isReady() const { return guns != nullptr; }

    // The airspace's hit check stands in by default; a caller that needs to
    // watch the rounds replaces it.
    void setHitCheck(HitCheck check) { hitCheck = std::move(check); }

    irr::scene::ICameraSceneNode* getCamera() const { return camera; }
    irr::scene::IMeshSceneNode* getGuns() const { return guns; }
    irr::scene::ISceneNode* getTurretBase() const { return turretBase; }
    irr::scene::IBillboardSceneNode* getLeftFlash() const { return leftFlash; }
    irr::scene::IBillboardSceneNode* getRightFlash() const { return rightFlash; }
    irr::video::ITexture* getCrosshair() const { return crosshair; }
    torvel::AudioSource* getFireSound() const { return fireSound; }
    const irr::core::line3df& getShotLine() const { return shotLine; }
    irr::u32 getBurstRounds() const { return fireControl.getBurstRounds(); }
    irr::u32 getBurstsLeft() const { return fireControl.getBurstsLeft(); }
    // Bursts begun since the turret was built.
    irr::u32 getBurstsFired() const { return burstsFired; }
    TracerSceneNode* getTracers() const { return tracers; }
    const HitMarker& getHitMarker() const { return hitMarker; }
    const FireControl& getFireControl() const { return fireControl; }
    // The game time of the step being run, or of the last one: a round's
    // moment, which a frame that runs several steps shows together.
    irr::u32 getStepTime() const { return stepTime; }
    irr::f32 getYawRate() const { return yawRate; }
    irr::f32 getPitchRate() const { return pitchRate; }

private:
    FireUnit(const FireUnit&) = delete;
    FireUnit& operator=(const FireUnit&) = delete;

    void step();
    void aim();
    void poseCamera();
    void fireRound();
    void setFlashes(bool left, bool right);
    void drawHitMarker(const irr::core::dimension2du& screen, irr::u32 now) const;

    irr::scene::ICameraSceneNode* camera;      // rides on the guns, the scene's active camera
    irr::scene::IMeshSceneNode* guns;          // turns about X to elevate; null when the mesh is missing
    irr::scene::ISceneNode* turretBase;        // turns about Y to traverse
    TurretCamAnimator* camAnimator;            // owned: the reference from creation
    irr::f32 yawRate;                          // smoothed turn input, degrees per step
    irr::f32 pitchRate;                        // smoothed elevation input, degrees per step
    irr::video::ITexture* crosshair;           // null when the image is missing: nothing is drawn
    irr::core::line3df shotLine;               // line of the latest round fired
    irr::scene::IBillboardSceneNode* leftFlash;   // muzzle flash of the left gun
    irr::scene::IBillboardSceneNode* rightFlash;  // muzzle flash of the right gun
    FireControl fireControl;                   // trigger, bursts and reload
    torvel::AudioSource* fireSound;            // belongs to the sound manager; may be silent
    irr::core::dimension2du lastScreenSize;    // size for which the aspect ratio was last set
    HitCheck hitCheck;                         // empty: the airspace's checkHits
    irr::f32 stickYaw;                         // turn input of the latest joystick event
    irr::f32 stickPitch;                       // elevation input of the latest joystick event
    irr::f32 nudgeYaw;                         // degrees to turn right at the next step
    irr::f32 nudgePitch;                       // degrees to raise the guns at the next step
    FixedStep fixedStep;                       // cuts the game time into steps
    irr::u32 eventTime;                        // game time of the events being delivered
    irr::u32 stepTime;                         // game time of the current or latest step
    irr::u32 burstsFired;                      // bursts begun, ever
    TracerSceneNode* tracers;                  // belongs to the scene graph; null without guns
    HitMarker hitMarker;                       // the mark of the latest round that hit
    bool sightShown = true;                    // the sight and the hit mark are drawn
    std::unique_ptr<GunCues> gunCues;          // the magazine's sounds and the reload prompt; null without guns
};
