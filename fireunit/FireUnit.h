#pragma once

#include <IEventReceiver.h>
#include <dimension2d.h>
#include <line3d.h>

#include <functional>

#include "FireControl.h"

namespace irr {
namespace scene { class ICameraSceneNode; class IMeshSceneNode; class ISceneNode; class IBillboardSceneNode; }
namespace video { class ITexture; }
}
namespace torvel { class AudioSource; }
class TurretCamAnimator;

// The player's twin-gun turret: its branch of the scene graph, the camera
// that rides on the guns, joystick aiming, bursts, reloads, muzzle flashes,
// the crosshair and the shot line.
//
// Without its guns mesh the turret cannot be built: the constructor says so
// on standard output, leaves nothing in the scene and isReady() is false;
// OnEvent and update then do nothing.
class FireUnit : public irr::IEventReceiver {
public:
    // Where each round's line goes to be tested against the aircraft.
    using HitCheck = std::function<bool(const irr::core::line3df&)>;
    // The real time in milliseconds, as the engine's timer gives it.
    using Clock = std::function<irr::u32()>;

    FireUnit();
    virtual ~FireUnit();

    // Joystick events aim and fire; every other event is left alone (false).
    bool OnEvent(const irr::SEvent& event) override;
    // Once per frame, between drawing the scene and ending it.
    void update();

    irr::u32 getRoundsLeft() const { return fireControl.getRoundsLeft(); }
    bool isReloading() const { return fireControl.isReloading(); }
    // False when the guns mesh could not be loaded: the turret cannot work.
    bool isReady() const { return guns != nullptr; }

    // The airspace's hit check and the engine's clock stand in by default;
    // a caller that needs to watch the rounds or set the time replaces them.
    void setHitCheck(HitCheck check) { hitCheck = std::move(check); }
    void setClock(Clock source) { clock = std::move(source); }

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
    const FireControl& getFireControl() const { return fireControl; }
    irr::f32 getYawRate() const { return yawRate; }
    irr::f32 getPitchRate() const { return pitchRate; }

private:
    FireUnit(const FireUnit&) = delete;
    FireUnit& operator=(const FireUnit&) = delete;

    void aim(irr::f32 yawInput, irr::f32 pitchInput);
    void fireRound();
    void setFlashes(bool left, bool right);
    irr::u32 now() const;

    irr::scene::ICameraSceneNode* camera;      // rides on the guns, the scene's active camera
    irr::scene::IMeshSceneNode* guns;          // turns about X to elevate; null when the mesh is missing
    irr::scene::ISceneNode* turretBase;        // turns about Y to traverse
    TurretCamAnimator* camAnimator;            // owned: the reference from creation
    irr::f32 yawRate;                          // smoothed turn input, degrees per joystick event
    irr::f32 pitchRate;                        // smoothed elevation input, degrees per joystick event
    irr::video::ITexture* crosshair;           // null when the image is missing: nothing is drawn
    irr::core::line3df shotLine;               // line of the latest round fired
    irr::scene::IBillboardSceneNode* leftFlash;   // muzzle flash of the left gun
    irr::scene::IBillboardSceneNode* rightFlash;  // muzzle flash of the right gun
    FireControl fireControl;                   // trigger, bursts and reload
    torvel::AudioSource* fireSound;            // belongs to the sound manager; may be silent
    irr::core::dimension2du lastScreenSize;    // size for which the aspect ratio was last set
    HitCheck hitCheck;                         // empty: the airspace's checkHits
    Clock clock;                               // empty: the device timer's real time
};
