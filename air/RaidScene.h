#pragma once

#include <irrTypes.h>
#include <vector3d.h>

#include <memory>
#include <vector>

#include "Raid.h"

namespace irr {
namespace scene { class IAnimatedMesh; class IParticleSystemSceneNode; class ISceneManager; class ISceneNode; }
}
namespace torvel { class AudioManager; class AudioSource; }
class HitEffects;
class TracerSceneNode;

// What the player sees and hears of a raid: a node for each aircraft and
// bomb placed where the rules say at each frame, the bombers' engines and
// the bombs' whistles following them, the attackers' cannon heard from where
// they fire and its tracers coming at the gun, bursts on the ground. A hit
// that brings an aircraft down shows the fireball and boom and leaves it
// trailing smoke as it falls; a bomber's first hit puffs smoke and its second
// throws a spark. A bomb shot down falls silent. It holds nothing of the
// rules; it follows the raid it is shown.
class RaidScene {
public:
    // Any of them may be null: no nodes, no sound, no fireballs.
    RaidScene(irr::scene::ISceneManager* sceneManager, torvel::AudioManager* audio, HitEffects* hitEffects);
    ~RaidScene();

    // Loads the meshes and sounds ahead, so the first wave does not stall.
    void preload();
    // The raid's events since the last frame, as it tells them.
    void show(const Raid& raid, const std::vector<Raid::Event>& events);
    // Once a frame before the scene is drawn: every node where it stands at now.
    void update(const Raid& raid, irr::u32 now);
    // Takes every node out of the scene: the raid is over or abandoned.
    void clear();

    // Shows or hides every aircraft, bomb and tracer, each where it is: a
    // benchmark draws the bare world between the raid's frames.
    void setShown(bool shown) const;

    // Game time of the latest hit on the gun, for the shake and the red edges.
    bool wasGunHit() const { return gunHitSeen; }
    irr::u32 getGunHitTime() const { return gunHitTime; }
    irr::u32 getNodeCount() const;
    // An aircraft's node by the raid's index, while it shows; a bomb's whistle.
    irr::scene::ISceneNode* getCraftNode(std::size_t index) const
    {
        return index < craft.size() ? craft[index].node : nullptr;
    }
    const torvel::AudioSource* getWhistle(std::size_t index) const
    {
        return index < bombs.size() ? bombs[index].sound : nullptr;
    }

    // How long a bomber's puff of smoke pours out, and its spark shows.
    static constexpr irr::u32 puffTime = 300;
    static constexpr irr::u32 sparkTime = 150;

private:
    struct Shown {
        irr::scene::ISceneNode* node;     // in the scene; null once gone or without a mesh
        torvel::AudioSource* sound;       // the bomber's engines, the fighter's fly-by or the bomb's whistle
        torvel::AudioSource* cannon;      // an attacker's cannon
        bool heard;                       // a fighter's fly-by has been started
        irr::scene::IParticleSystemSceneNode* puff;  // a first hit's smoke, on the node; null when none pours
        irr::scene::ISceneNode* spark;    // a second hit's flash, on the node; null when none shows
        irr::u32 markEnd;                 // game time the puff stops pouring or the spark goes
    };

    // The mark of a hit that did not bring the aircraft down: its count of hits.
    void markHit(Shown& shown, irr::u32 hits, irr::u32 now);

    irr::scene::ISceneNode* addNode(irr::scene::IAnimatedMesh* mesh);
    void remove(Shown& shown);
    void grow(std::vector<Shown>& list, std::size_t size);

    irr::scene::ISceneManager* sceneManager;
    torvel::AudioManager* audio;
    HitEffects* hitEffects;
    std::unique_ptr<HitEffects> groundBursts;  // fireballs of bombs on the ground, silent: the burst has its own sound
    TracerSceneNode* tracers;                // the attackers' rounds; null without a scene
    std::vector<Shown> craft;                // by the raid's index
    std::vector<Shown> bombs;                // likewise
    bool gunHitSeen;                         // gunHitTime holds a time
    irr::u32 gunHitTime;
};
