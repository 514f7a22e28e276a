#include "FireUnit.h"

#include <IAnimatedMesh.h>
#include <IBillboardSceneNode.h>
#include <ICameraSceneNode.h>
#include <IMeshSceneNode.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>

#include <iostream>

#include "Airspace.h"
#include "AudioManager.h"
#include "AudioSource.h"
#include "EngineContext.h"
#include "GunCues.h"
#include "ObjFileCheck.h"
#include "ResourceTable.h"
#include "TextureLoader.h"
#include "TracerSceneNode.h"
#include "TurretAim.h"
#include "TurretCamAnimator.h"

#include <cmath>

using namespace irr;

namespace {
const char* const GUNS_MESH = ResourceTable::path(Resource::GunsMesh);
const char* const FLASH_TEXTURE = ResourceTable::path(Resource::MuzzleFlash);

bool buttonDown(const SEvent::SJoystickEvent& joystick, u32 button)
{
    return (joystick.ButtonStates & (1u << button)) != 0;
}
} // namespace

FireUnit::FireUnit()
    : camera(nullptr), guns(nullptr), turretBase(nullptr), camAnimator(nullptr), yawRate(0.0f),
      pitchRate(0.0f), crosshair(nullptr), leftFlash(nullptr), rightFlash(nullptr),
      fireSound(nullptr), lastScreenSize(0, 0), stickYaw(0.0f), stickPitch(0.0f), nudgeYaw(0.0f),
      nudgePitch(0.0f), eventTime(0), stepTime(0), burstsFired(0), tracers(nullptr)
{
    scene::ISceneManager* sceneManager = getSceneManager();
    turretBase = sceneManager->addEmptySceneNode(nullptr, -1);

    // A mesh without buffers is as useless as none: the file was there but
    // held nothing the loader could read. A damaged file never reaches the
    // engine's loader, which would read outside its own lists.
    scene::IAnimatedMesh* mesh =
        ObjFileCheck::fileIsWellFormed(GUNS_MESH) ? sceneManager->getMesh(GUNS_MESH) : nullptr;
    if (mesh && mesh->getMeshBufferCount() > 0)
        guns = sceneManager->addMeshSceneNode(mesh, turretBase, -1, core::vector3df(0, 0, 0),
                                              core::vector3df(0, 0, 0), core::vector3df(1, 1, 1),
                                              false);
    if (!guns) {
        std::cout << "Cannot load " << GUNS_MESH << ": the turret cannot be built." << std::endl;
        turretBase->remove();
        turretBase = nullptr;
        return;
    }

    camera = sceneManager->addCameraSceneNode(guns, core::vector3df(0, 0, 0),
                                              core::vector3df(0, 0, 100), -1, true);
    camAnimator = new TurretCamAnimator(guns);
    camera->setNearValue(0.01f);
    camera->setFarValue(4000.0f);
    camera->addAnimator(camAnimator);

    video::IVideoDriver* driver = getVideoDriver();
    crosshair = TextureLoader::flat(driver, ResourceTable::path(Resource::Crosshair));

    const video::SColor white(0xFFFFFFFF);
    rightFlash = sceneManager->addBillboardSceneNode(guns, core::dimension2df(1.0f, 1.0f),
                                                     core::vector3df(0.14f, 1.5f, 1.89f), -1,
                                                     white, white);
    leftFlash = sceneManager->addBillboardSceneNode(guns, core::dimension2df(1.0f, 1.0f),
                                                    core::vector3df(-0.14f, 1.5f, 1.89f), -1,
                                                    white, white);
    for (scene::IBillboardSceneNode* flash : {rightFlash, leftFlash}) {
        flash->setMaterialTexture(0, TextureLoader::mipMapped(driver, FLASH_TEXTURE));
        flash->setMaterialType(video::EMT_TRANSPARENT_ALPHA_CHANNEL_REF);
        flash->setMaterialFlag(video::EMF_LIGHTING, false);
    }
    setFlashes(false, false);

    // The streaks stand in world coordinates: the node hangs from the root.
    tracers = new TracerSceneNode(sceneManager->getRootSceneNode(), sceneManager);
    tracers->drop();

    if (torvel::AudioManager* audio = getAudioManager())
        fireSound = audio->create("fireSound", ResourceTable::path(Resource::GunBurstSound), false);
    gunCues = std::make_unique<GunCues>(getAudioManager());

    lastScreenSize = driver->getScreenSize();
}

FireUnit::~FireUnit()
{
    if (camera && camAnimator)
        camera->removeAnimator(camAnimator);
    if (camAnimator)
        camAnimator->drop();
}

bool FireUnit::OnEvent(const SEvent& event)
{
    if (event.EventType != EET_JOYSTICK_INPUT_EVENT || !isReady())
        return false;

    // Every joystick present works the one turret: the number is not looked at.
    const SEvent::SJoystickEvent& joystick = event.JoystickEvent;
    stickYaw = TurretAim::axisInput(joystick.Axis[SEvent::SJoystickEvent::AXIS_X]);
    stickPitch = TurretAim::axisInput(joystick.Axis[SEvent::SJoystickEvent::AXIS_Y]);

    if (fireControl.onButtons(buttonDown(joystick, 0), buttonDown(joystick, 2), eventTime)) {
        ++burstsFired;
        if (fireSound)
            fireSound->play2d(false);
    }
    gunCues->watch(fireControl);
    return true;
}

void FireUnit::freshMagazine()
{
    fireControl.freshMagazine();
    if (gunCues)
        gunCues->watch(fireControl);
}

bool FireUnit::promptsReload() const
{
    return gunCues && gunCues->promptsReload();
}

void FireUnit::nudge(f32 yawDegrees, f32 pitchDegrees)
{
    nudgeYaw += yawDegrees;
    nudgePitch += pitchDegrees;
}

void FireUnit::advance(u32 now)
{
    eventTime = now;
    if (!isReady())
        return;
    const u32 steps = fixedStep.stepsDue(now);
    for (u32 i = 0; i < steps; ++i) {
        stepTime = fixedStep.stepTime(i);
        step();
    }
    tracers->update(now);
}

void FireUnit::step()
{
    aim();
    if (fireControl.getBurstRounds() > 0)
        fireRound();
    else
        setFlashes(false, false);
}

void FireUnit::update(u32 now)
{
    if (!isReady())
        return;

    video::IVideoDriver* driver = getVideoDriver();
    const core::dimension2du screen = driver->getScreenSize();
    // A minimised window may report no height (or width); its aspect would
    // be infinite, so the camera keeps the last one until the size is real.
    if (screen != lastScreenSize && screen.Width > 0 && screen.Height > 0) {
        lastScreenSize = screen;
        camera->setAspectRatio(static_cast<f32>(screen.Width) / static_cast<f32>(screen.Height));
    }

    if (crosshair && sightShown)
        driver->draw2DImage(crosshair, TurretAim::crosshairPosition(screen),
                            core::rect<s32>(0, 0, TurretAim::CROSSHAIR_SIZE, TurretAim::CROSSHAIR_SIZE),
                            nullptr, video::SColor(0xFFFFFFFF), true);
    if (sightShown)
        drawHitMarker(screen, now);

    if (fireControl.isReloading()) {
        fireControl.checkReload(now);
        gunCues->watch(fireControl);
    }
}

void FireUnit::aim()
{
    yawRate = TurretAim::smooth(yawRate, stickYaw);
    pitchRate = TurretAim::smooth(pitchRate, stickPitch);

    // The mouse's movement since the last step comes on top of the stick.
    core::vector3df direction = turretBase->getRotation();
    direction.Y = TurretAim::turn(direction.Y, yawRate - TurretAim::nudgeLimit(nudgeYaw));
    turretBase->setRotation(direction);

    core::vector3df elevation = guns->getRotation();
    elevation.X = TurretAim::elevate(elevation.X, pitchRate - TurretAim::nudgeLimit(nudgePitch));
    guns->setRotation(elevation);
    nudgeYaw = 0.0f;
    nudgePitch = 0.0f;
}

void FireUnit::poseCamera()
{
    // The camera rides on the guns as the animator puts it in the scene's
    // animation pass; a step between two frames needs it now.
    turretBase->updateAbsolutePosition();
    guns->updateAbsolutePosition();
    camAnimator->animateNode(camera, 0);
    camera->updateAbsolutePosition();
}

void FireUnit::fireRound()
{
    poseCamera();
    shotLine = TurretAim::shotLine(camera->getAbsolutePosition(), camera->getTarget());
    bool hit = false;
    if (hitCheck)
        hit = hitCheck(shotLine);
    else if (Airspace* airspace = getAirspace())
        hit = airspace->checkHits(shotLine);
    if (hit)
        hitMarker.hit(stepTime);

    // The tracer leaves the muzzle of the gun whose turn it is and runs out
    // beside the line of sight, parallel to it, so that it seems to fly into
    // the sight.
    const u32 rounds = fireControl.getBurstRounds();
    core::vector3df muzzle = TracerBatch::muzzleOffset(TracerBatch::gunOfRound(rounds));
    guns->getAbsoluteTransformation().transformVect(muzzle);
    core::vector3df direction = camera->getTarget() - camera->getAbsolutePosition();
    direction.normalize();
    tracers->getBatch().fire(muzzle, direction, stepTime);

    setFlashes(FireControl::leftFlashOn(rounds), FireControl::rightFlashOn(rounds));
    fireControl.fireRound();
}

void FireUnit::drawHitMarker(const core::dimension2du& screen, u32 now) const
{
    HitMarker::Look look{};
    if (!hitMarker.lookAt(now, look))
        return;
    // Four white ticks on the diagonals, each three lines side by side in a
    // dark rim, so that they stand out against sky, ground and the fireball
    // alike, and apart from the sight's gold. Lines one pixel apart across a
    // diagonal never share a pixel, so the fading colours are not laid on twice.
    video::IVideoDriver* driver = getVideoDriver();
    const s32 cx = static_cast<s32>(screen.Width / 2), cy = static_cast<s32>(screen.Height / 2);
    const u32 alpha = static_cast<u32>(look.alpha * 255.0f + 0.5f);
    const video::SColor rim(alpha * 3 / 4, 0, 0, 0);
    const video::SColor tick(alpha, 255, 255, 255);
    const f32 diagonal = 0.70710678f;
    const s32 inner = static_cast<s32>(std::lround(look.spread * diagonal));
    const s32 outer = static_cast<s32>(std::lround((look.spread + HitMarker::tickLength) * diagonal));
    for (int corner = 0; corner < 4; ++corner) {
        const s32 sx = (corner & 1) ? 1 : -1;
        const s32 sy = (corner & 2) ? 1 : -1;
        for (s32 shift = -2; shift <= 2; ++shift)
            driver->draw2DLine(core::position2di(cx + sx * inner + shift, cy + sy * inner),
                               core::position2di(cx + sx * outer + shift, cy + sy * outer),
                               shift == -2 || shift == 2 ? rim : tick);
    }
}

void FireUnit::setFlashes(bool left, bool right)
{
    leftFlash->setVisible(left);
    rightFlash->setVisible(right);
}
