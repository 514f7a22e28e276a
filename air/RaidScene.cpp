#include "RaidScene.h"

#include "AudioManager.h"
#include "AudioSource.h"
#include "Aircraft.h"
#include "HitEffects.h"
#include "ObjFileCheck.h"
#include "ResourceTable.h"
#include "TracerSceneNode.h"

#include <irrlicht.h>

#include <iostream>

using namespace irr;

namespace {

// How far each sound carries (see DistanceModel): the bombers' engines and
// a burst on the ground are heard from far off, a whistle only as it nears.
constexpr f32 engineStrength = 4.0f;
constexpr f32 whistleStrength = 1.5f;
constexpr f32 burstStrength = 6.0f;
constexpr f32 cannonStrength = 5.0f;
constexpr f32 bombScale = 3.0f;
constexpr f32 flybyLead = 4.0f;   // s before the pass

Resource meshOf(RaidCraft::Kind kind)
{
    switch (kind) {
    case RaidCraft::Bomber: return Resource::BomberMesh;
    case RaidCraft::Attacker: return Resource::AttackerMesh;
    default: return Resource::JetMesh;
    }
}

// The mesh, or null when its file is missing or damaged: said once a file.
scene::IAnimatedMesh* loadMesh(scene::ISceneManager* sceneManager, Resource resource)
{
    const io::path file = ResourceTable::path(resource);
    scene::IAnimatedMesh* mesh = sceneManager->getMeshCache()->getMeshByName(file);
    if (mesh)
        return mesh;
    static bool reported[static_cast<int>(Resource::Count)] = {};
    if (sceneManager->getFileSystem()->existFile(file) && ObjFileCheck::fileIsWellFormed(file.c_str()))
        mesh = sceneManager->getMesh(file);
    if (mesh == nullptr && !reported[static_cast<int>(resource)]) {
        std::cout << "Cannot load the mesh " << file.c_str() << ": it will fly unseen." << std::endl;
        reported[static_cast<int>(resource)] = true;
    }
    return mesh;
}

// The rotation that turns a mesh whose nose lies along +X to face along nose.
core::vector3df facing(const core::vector3df& nose)
{
    core::quaternion turn;
    turn.rotationFromTo(core::vector3df(1, 0, 0), nose);
    core::vector3df euler;
    turn.toEuler(euler);
    return euler * core::RADTODEG;
}

// Where a downed aircraft is as it falls away, keeping its way on.
core::vector3df fallingAt(const Raid::Flying& flying, u32 now)
{
    const RaidCraft& plane = flying.craft;
    const f32 t = static_cast<f32>(now - flying.downTime) / 1000.0f;
    return plane.positionAt(flying.downTime) + plane.getDirection() * plane.getSpeed() * t -
           core::vector3df(0.0f, 0.5f * 30.0f * t * t, 0.0f);
}

void move(torvel::AudioSource* sound, const core::vector3df& at)
{
    if (sound)
        sound->move(at.X, at.Y, at.Z);
}

} // namespace

RaidScene::RaidScene(scene::ISceneManager* manager, torvel::AudioManager* audioManager, HitEffects* effects)
    : sceneManager(manager), audio(audioManager), hitEffects(effects), tracers(nullptr), gunHitSeen(false),
      gunHitTime(0)
{
    if (sceneManager) {
        tracers = new TracerSceneNode(sceneManager->getRootSceneNode(), sceneManager);
        tracers->drop();
        // The boom of a hit on top of four bursts at once would clip the mix.
        groundBursts = std::make_unique<HitEffects>(
            sceneManager, sceneManager->getVideoDriver()->getTexture(HitEffects::fireballFile), nullptr);
    }
}

RaidScene::~RaidScene()
{
    clear();
    if (tracers)
        tracers->remove();
}

void RaidScene::preload()
{
    if (sceneManager)
        for (Resource mesh : {Resource::BomberMesh, Resource::AttackerMesh, Resource::BombMesh, Resource::JetMesh})
            loadMesh(sceneManager, mesh);
    if (audio)
        for (Resource sound : {Resource::BomberSound, Resource::WhistleSound, Resource::BombBurstSound,
                               Resource::CannonSound, Resource::ImpactSound})
            audio->create("raidPreload", ResourceTable::path(sound), false);
}

scene::ISceneNode* RaidScene::addNode(scene::IAnimatedMesh* mesh)
{
    if (sceneManager == nullptr || mesh == nullptr)
        return nullptr;
    return sceneManager->addMeshSceneNode(mesh, nullptr, -1, core::vector3df(0, -1000, 0));
}

void RaidScene::grow(std::vector<Shown>& list, std::size_t size)
{
    if (list.size() < size)
        list.resize(size, Shown{nullptr, nullptr, nullptr, false, nullptr, nullptr, 0});
}

void RaidScene::show(const Raid& raid, const std::vector<Raid::Event>& events)
{
    for (const Raid::Event& event : events) {
        switch (event.type) {
        case Raid::Event::CraftEntered: {
            grow(craft, event.index + 1);
            const RaidCraft::Kind kind = raid.getCraft()[event.index].craft.getKind();
            Shown& shown = craft[event.index];
            shown.node = sceneManager ? addNode(loadMesh(sceneManager, meshOf(kind))) : nullptr;
            if (audio && kind == RaidCraft::Bomber)
                shown.sound = audio->create("bomberSound", ResourceTable::path(Resource::BomberSound), false);
            if (audio && kind == RaidCraft::Fighter)
                shown.sound = audio->create("flybySound", ResourceTable::path(Resource::FlyBySound), false);
            if (audio && kind == RaidCraft::Attacker)
                shown.cannon = audio->create("cannonSound", ResourceTable::path(Resource::CannonSound), false);
            break;
        }
        case Raid::Event::CraftHit:
            if (event.index < craft.size())
                markHit(craft[event.index], event.amount, event.time);
            break;
        case Raid::Event::CraftDowned:
            if (event.index >= craft.size())
                break;
            if (hitEffects)
                hitEffects->hit(craft[event.index].node, event.position, event.time);
            if (sceneManager && craft[event.index].node)
                Aircraft::addSmokeTrail(sceneManager, craft[event.index].node);
            break;
        case Raid::Event::CraftLeft:
            if (event.index < craft.size())
                remove(craft[event.index]);
            break;
        case Raid::Event::BombDropped: {
            grow(bombs, event.index + 1);
            Shown& shown = bombs[event.index];
            shown.node = sceneManager ? addNode(loadMesh(sceneManager, Resource::BombMesh)) : nullptr;
            // Drawn three times its size: a bomb a few hundred units up would
            // be a pixel or two, and the player must see it to shoot it.
            if (shown.node)
                shown.node->setScale(core::vector3df(bombScale, bombScale, bombScale));
            if (audio) {
                shown.sound = audio->create("whistleSound", ResourceTable::path(Resource::WhistleSound), false);
                shown.sound->play3d(event.position.X, event.position.Y, event.position.Z, whistleStrength);
            }
            break;
        }
        case Raid::Event::BombShot:
            if (hitEffects && event.index < bombs.size())
                hitEffects->hit(nullptr, event.position, event.time);
            if (event.index < bombs.size()) {
                remove(bombs[event.index]);
                if (bombs[event.index].sound)
                    bombs[event.index].sound->stop();
            }
            break;
        case Raid::Event::BombBurst:
            if (event.index < bombs.size()) {
                remove(bombs[event.index]);
                if (bombs[event.index].sound)
                    bombs[event.index].sound->stop();
            }
            if (groundBursts)
                groundBursts->hit(nullptr, event.position + core::vector3df(0, 4, 0), event.time);
            if (audio)
                audio->create("bombBurstSound", ResourceTable::path(Resource::BombBurstSound), false)
                    ->play3d(event.position.X, event.position.Y, event.position.Z, burstStrength);
            break;
        case Raid::Event::CannonFired: {
            if (event.index < craft.size() && craft[event.index].cannon && !craft[event.index].cannon->isPlaying())
                craft[event.index].cannon->play3d(event.position.X, event.position.Y, event.position.Z,
                                                  cannonStrength);
            if (tracers) {
                // A round's streak lives a moment only; it is sent from as far
                // out along its way as lets it reach the gun in that moment.
                core::vector3df way = event.target - event.position;
                const f32 distance = way.getLength();
                way.normalize();
                const f32 reach = TracerBatch::speed * TracerBatch::lifetime / 1000.0f;
                const core::vector3df from =
                    distance > reach ? event.target - way * reach : event.position;
                tracers->getBatch().fire(from, way, event.time);
            }
            break;
        }
        case Raid::Event::GunHit:
            gunHitSeen = true;
            gunHitTime = event.time;
            if (audio)
                audio->create("impactSound", ResourceTable::path(Resource::ImpactSound), false)->play2d();
            break;
        default:
            break;
        }
    }
}

void RaidScene::markHit(Shown& shown, u32 hits, u32 now)
{
    if (sceneManager == nullptr || shown.node == nullptr)
        return;
    video::IVideoDriver* driver = sceneManager->getVideoDriver();
    shown.markEnd = now + (hits == 1 ? puffTime : sparkTime);
    if (hits == 1 && shown.puff == nullptr) {
        // A short gust of the trail's smoke, small: the bomber is hurt, not burning.
        shown.puff = Aircraft::addSmokeTrail(sceneManager, shown.node);
        if (shown.puff && shown.puff->getEmitter()) {
            shown.puff->getEmitter()->setMinStartSize(core::dimension2df(25, 25));
            shown.puff->getEmitter()->setMaxStartSize(core::dimension2df(40, 40));
        }
    } else if (hits >= 2 && shown.spark == nullptr) {
        // A white-hot flash on the airframe, a tenth of the fireball's size.
        scene::IBillboardSceneNode* spark = sceneManager->addBillboardSceneNode(shown.node, core::dimension2df(12, 12));
        spark->setMaterialTexture(0, driver->getTexture(HitEffects::fireballFile));
        spark->setMaterialType(video::EMT_TRANSPARENT_ADD_COLOR);
        spark->setMaterialFlag(video::EMF_LIGHTING, false);
        shown.spark = spark;
    }
}

void RaidScene::update(const Raid& raid, u32 now)
{
    const std::vector<Raid::Flying>& flying = raid.getCraft();
    for (std::size_t i = 0; i < craft.size() && i < flying.size(); ++i) {
        Shown& shown = craft[i];
        if (flying[i].gone)
            continue;
        // A puff stops pouring (what it poured drifts off and fades); a spark goes.
        if (shown.puff && static_cast<s32>(now - shown.markEnd) >= 0 && shown.puff->getEmitter())
            shown.puff->setEmitter(nullptr);
        if (shown.spark && static_cast<s32>(now - shown.markEnd) >= 0) {
            shown.spark->remove();
            shown.spark = nullptr;
        }
        const bool down = flying[i].craft.isDown();
        const core::vector3df at = down ? fallingAt(flying[i], now) : flying[i].craft.positionAt(now);
        if (shown.node) {
            shown.node->setPosition(at);
            core::vector3df nose = flying[i].craft.headingAt(now);
            if (down)
                nose.Y -= 0.4f;
            shown.node->setRotation(facing(nose.normalize()));
        }
        const RaidCraft& plane = flying[i].craft;
        if (shown.sound && plane.getKind() == RaidCraft::Bomber && !down && !shown.sound->isPlaying())
            shown.sound->play3d(at.X, at.Y, at.Z, engineStrength);
        // The fighter's fly-by, as a round's jet: once, loudest about 4 s
        // in, so started 4 s before it passes the gun.
        if (shown.sound && plane.getKind() == RaidCraft::Fighter && !shown.heard &&
            plane.trackAt(now) >= -flybyLead * plane.getSpeed()) {
            shown.heard = true;
            shown.sound->play3d(at.X, at.Y, at.Z);
        }
        move(shown.sound, at);
        move(shown.cannon, at);
    }
    const std::vector<Raid::Falling>& falling = raid.getBombs();
    for (std::size_t i = 0; i < bombs.size() && i < falling.size(); ++i) {
        if (falling[i].gone)
            continue;
        const core::vector3df at = falling[i].bomb.positionAt(now);
        if (bombs[i].node) {
            bombs[i].node->setPosition(at);
            // Nose down more and more as it falls.
            const core::vector3df later = falling[i].bomb.positionAt(now + 100);
            bombs[i].node->setRotation(facing((later - at).normalize()));
        }
        move(bombs[i].sound, at);
    }
    if (tracers)
        tracers->update(now);
    if (groundBursts)
        groundBursts->update(now);
}

void RaidScene::remove(Shown& shown)
{
    // The puff and the spark hang from the node and go with it.
    if (shown.node)
        shown.node->remove();
    shown.node = nullptr;
    shown.puff = nullptr;
    shown.spark = nullptr;
}

void RaidScene::clear()
{
    for (Shown& shown : craft)
        remove(shown);
    for (Shown& shown : bombs)
        remove(shown);
    craft.clear();
    bombs.clear();
    gunHitSeen = false;
    if (tracers)
        tracers->getBatch().clear();
}

void RaidScene::setShown(bool shown) const
{
    for (const std::vector<Shown>* list : {&craft, &bombs})
        for (const Shown& each : *list)
            if (each.node)
                each.node->setVisible(shown);
    if (tracers)
        tracers->setVisible(shown);
}

u32 RaidScene::getNodeCount() const
{
    u32 count = 0;
    for (const std::vector<Shown>* list : {&craft, &bombs})
        for (const Shown& shown : *list)
            count += shown.node != nullptr;
    return count;
}
