#pragma once

#include <IEventReceiver.h>
#include <dimension2d.h>
#include <line3d.h>

namespace irr {
namespace scene { class ICameraSceneNode; class IMeshSceneNode; class ISceneNode; class IBillboardSceneNode; }
namespace video { class ITexture; }
}
namespace torvel { class AudioSource; }
class TurretCamAnimator;

// The player's twin-gun turret: its branch of the scene graph, the camera
// that rides on the guns, joystick aiming, bursts, reloads, muzzle flashes,
// the crosshair and the shot line.
class FireUnit : public irr::IEventReceiver {
public:
    FireUnit();
    virtual ~FireUnit();

    // Joystick events aim and fire; every other event is left alone (false).
    bool OnEvent(const irr::SEvent& event) override;
    // Once per frame, between drawing the scene and ending it.
    void update();

    irr::u32 getRoundsLeft() const { return burstsLeft * 16 + burstRounds; }
    bool isReloading() const { return reloading; }
    // False when the guns mesh could not be loaded: the turret cannot work.
    bool isReady() const { return guns != nullptr; }

    irr::scene::ICameraSceneNode* getCamera() const { return camera; }
    irr::scene::IMeshSceneNode* getGuns() const { return guns; }
    irr::scene::ISceneNode* getTurretBase() const { return turretBase; }
    irr::scene::IBillboardSceneNode* getLeftFlash() const { return leftFlash; }
    irr::scene::IBillboardSceneNode* getRightFlash() const { return rightFlash; }
    const irr::core::line3df& getShotLine() const { return shotLine; }
    irr::u32 getBurstRounds() const { return burstRounds; }
    irr::u32 getBurstsLeft() const { return burstsLeft; }

private:
    FireUnit(const FireUnit&) = delete;
    FireUnit& operator=(const FireUnit&) = delete;

    irr::scene::ICameraSceneNode* camera;
    irr::scene::IMeshSceneNode* guns;          // turns about X to elevate
    irr::scene::ISceneNode* turretBase;        // turns about Y to traverse
    TurretCamAnimator* camAnimator;            // owned: the reference from creation
    irr::f32 yawRate;                          // smoothed turn input, degrees per joystick event
    irr::f32 pitchRate;                        // smoothed elevation input, degrees per joystick event
    irr::video::ITexture* crosshair;
    irr::core::line3df shotLine;               // line of the latest round fired
    irr::scene::IBillboardSceneNode* leftFlash;
    irr::scene::IBillboardSceneNode* rightFlash;
    irr::u32 burstRounds;                      // rounds still to fire in the running burst
    bool triggerHeld;                          // button 0 was down in the latest joystick event
    irr::u32 burstsLeft;                       // bursts left in the magazine
    bool reloading;
    irr::u32 reloadEndTime;                    // real time after which the reload is complete
    torvel::AudioSource* fireSound;
    irr::core::dimension2du lastScreenSize;    // size for which the aspect ratio was last set
};
