#include "Aircraft.h"
#include "EngineSound.h"
#include "SmokeAffector.h"

#include "AudioManager.h"
#include "AudioSource.h"
#include "EngineContext.h"
#include "FlightRules.h"
#include "ObjFileCheck.h"
#include "PuffTrim.h"
#include "ResourceTable.h"
#include "TextureLoader.h"

#include <irrlicht.h>

#include <iostream>

using namespace irr;

namespace {

const io::path jetMeshFile = ResourceTable::path(Resource::JetMesh);
const io::path smokeTexture = ResourceTable::path(Resource::Smoke);
const io::path smokeTexture1 = ResourceTable::path(Resource::Smoke1);

// The jet mesh, or null when there is none. A missing file is reported once
// rather than with every jet of every round.
scene::IAnimatedMesh* loadJetMesh(scene::ISceneManager* sceneManager)
{
    static bool reported = false;
    scene::IAnimatedMesh* mesh = sceneManager->getMeshCache()->getMeshByName(jetMeshFile);
    if (mesh)
        return mesh;
    // A damaged file never reaches the engine's loader, which would read
    // outside its own lists.
    if (getDevice()->getFileSystem()->existFile(jetMeshFile) &&
        ObjFileCheck::fileIsWellFormed(jetMeshFile.c_str()))
        mesh = sceneManager->getMesh(jetMeshFile);
    if (mesh == nullptr && !reported) {
        std::cout << "Cannot load the jet mesh " << jetMeshFile.c_str()
                  << ": jets will fly unseen and cannot be hit." << std::endl;
        reported = true;
    }
    return mesh;
}

// The engine sets a material's own render state only when it differs from
// the material drawn just before, yet binds every texture layer for each
// draw. Smoke trails drawn one after the other would then keep layer 1
// (smoke1) switched on, which this material type never reads: all but the
// first would be drawn darker, and slower. Each trail's material therefore
// differs from the others' in its line thickness, which triangles ignore.
f32 nextTrailThickness()
{
    static u32 trails = 0;
    return static_cast<f32>(1 + trails++ % 64);
}

}

void Aircraft::preload()
{
    loadJetMesh(getSceneManager());
    video::IVideoDriver* driver = getVideoDriver();
    TextureLoader::mipMapped(driver, smokeTexture);
    TextureLoader::mipMapped(driver, smokeTexture1);
}

Aircraft::Aircraft(const core::line3df& flightPath, u32 flightTimeMs, u32 start)
    : node(nullptr),
      animator(nullptr),
      alive(true),
      sound(nullptr),
      flightTime(flightTimeMs),
      startTime(start),
      path(flightPath),
      lastUpdate(start)
{
    scene::ISceneManager* sceneManager = getSceneManager();
    scene::IAnimatedMesh* mesh = loadJetMesh(sceneManager);
    node = sceneManager->addMeshSceneNode(mesh, nullptr, -1, core::vector3df(0, 0, 0),
                                          core::vector3df(0, 0, 0), core::vector3df(1, 1, 1), false);
    if (node) {
        // Only where it stands until the animator first moves it.
        node->setPosition(core::vector3df(25, 0, 0));
        animator = sceneManager->createFlyStraightAnimator(path.start, path.end, flightTime, false, false);
        const f64 angle = FlightRules::headingAngle(path.start, path.end);
        node->setRotation(core::vector3df(0, static_cast<f32>(-angle), 0));
        node->addAnimator(animator);
    }

    if (torvel::AudioManager* audio = getAudioManager())
        sound = audio->create("flybySound", ResourceTable::path(Resource::FlyBySound), false);
    engine = std::make_unique<EngineSound>(getAudioManager());
}

Aircraft::~Aircraft()
{
    if (animator)
        animator->drop();
    // The node's children, the smoke among them, go with it.
    if (node && hasEngineContext())
        getSceneManager()->addToDeletionQueue(node);
    std::cout << "~Aircraft" << std::endl;
}

bool Aircraft::hit(const core::line3df& shot)
{
    if (!node)
        return false;
    const core::aabbox3df box = node->getTransformedBoundingBox();
    if (!box.intersectsWithLine(shot))
        return false;
    if (alive)
        addSmokeTrail(getSceneManager(), node);
    alive = false;
    return true;
}

scene::IParticleSystemSceneNode* Aircraft::addSmokeTrail(scene::ISceneManager* sceneManager, scene::ISceneNode* node)
{
    scene::IParticleSystemSceneNode* smoke = sceneManager->addParticleSystemSceneNode(
        true, node, -1, core::vector3df(0, 0, 0), core::vector3df(0, 0, 0), core::vector3df(1, 1, 1));
    if (!smoke)
        return nullptr;
    if (scene::IParticleEmitter* emitter = smoke->getEmitter()) {
        emitter->setMinStartSize(core::dimension2df(80, 80));
        emitter->setMaxStartSize(core::dimension2df(120, 120));
        emitter->setDirection(core::vector3df(0, 0, 0));
        // Sooty greys, each living under two seconds: left where they were
        // puffed out, they trail the jet. Short lives keep the swelling,
        // blended puffs near the drawing cost the hard-edged trail had.
        emitter->setMinStartColor(video::SColor(255, 60, 60, 62));
        emitter->setMaxStartColor(video::SColor(255, 105, 105, 108));
        emitter->setMinLifeTime(1500);
        emitter->setMaxLifeTime(2000);
    }
    video::IVideoDriver* driver = sceneManager->getVideoDriver();
    smoke->setMaterialTexture(0, driver->getTexture(smokeTexture));
    smoke->setMaterialTexture(1, driver->getTexture(smokeTexture1));
    // Blended through the puff's soft edge, not cut at it; the puffs lie
    // over one another without hiding those behind.
    smoke->setMaterialType(video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    smoke->setMaterialFlag(video::EMF_LIGHTING, false);
    smoke->setMaterialFlag(video::EMF_ZWRITE_ENABLE, false);
    smoke->getMaterial(0).Thickness = nextTrailThickness();
    PuffTrim::apply(smoke);
    SmokeAffector* life = new SmokeAffector();
    smoke->addAffector(life);
    life->drop();
    return smoke;
}

core::vector3df Aircraft::getAbsolutePosition() const
{
    if (node)
        return node->getAbsolutePosition();
    return FlightRules::positionAt(path, flightTime, startTime, lastUpdate);
}

bool Aircraft::hasFinished() const
{
    if (animator)
        return animator->hasFinished();
    return FlightRules::flightOver(lastUpdate, startTime, flightTime);
}

void Aircraft::update(u32 now)
{
    lastUpdate = now;
    // Where the flight's rule puts the jet: a node just made stands near
    // the gun until the scene first animates it.
    engine->follow(FlightRules::positionAt(path, flightTime, startTime, now));
    if (!sound)
        return;
    const core::vector3df position = getAbsolutePosition();
    if (sound->isPlaying()) {
        sound->move(position.X, position.Y, position.Z);
        return;
    }
    if (FlightRules::inFlybyWindow(now, startTime, flightTime))
        sound->play3d(position.X, position.Y, position.Z, 1.0f, false);
}
