#pragma once

#include <irrTypes.h>
#include <vector3d.h>

#include <memory>
#include <vector>

namespace irr {
namespace scene { class ISceneManager; class ISceneNode; }
namespace video { class ITexture; }
}
namespace torvel { class AudioManager; class AudioSource; }
class FireballEffect;

// What the player sees and hears of a hit that sets a jet burning: a
// fireball that rides with the jet for half a second, and a boom from the
// place of the hit. Several hits may overlap; each keeps its own fireball
// and its own boom. Without the fireball texture there is no fireball, and
// without the sound the boom is silent: the other goes on as before.
class HitEffects {
public:
    // The boom carries far and the guns make way for it. Recorded (the
    // closing figures are in the game's sound recording test), a jet blowing
    // up 1000 units out is heard over the guns firing beside the player by
    // more than 6 dB in the half second after the hit, and still clearly at
    // 2000 units: the boom is placed with a long reach, and for a moment the
    // guns are turned down under it and then brought back.
    static constexpr irr::f32 boomStrength = 20.0f;
    // The guns' loudness from a hit on: duckGain for duckHold ms, then back
    // to full over duckRelease ms.
    static constexpr irr::f32 duckGain = 0.25f;
    static constexpr irr::u32 duckHold = 600;
    static constexpr irr::u32 duckRelease = 500;
    static irr::f32 gunGain(irr::u32 sinceHit);
    static const char* const boomFile;      // the boom's sound file
    static const char* const fireballFile;  // the fireball's picture

    // sceneManager or fireball may be null (no fireball), audio too (no boom).
    HitEffects(irr::scene::ISceneManager* sceneManager, irr::video::ITexture* fireball,
               torvel::AudioManager* audio);
    ~HitEffects();

    // A jet was hit at game time now where it stands: jet is its node, if it
    // has one, which the fireball follows; position is in the world.
    void hit(irr::scene::ISceneNode* jet, const irr::core::vector3df& position, irr::u32 now);
    // Once a frame before the scene is drawn: each fireball as it looks at
    // now; the ones that are over leave the scene.
    void update(irr::u32 now);

    // The sound turned down under each boom: the guns'. Null: none.
    void setDuckedSound(torvel::AudioSource* guns) { ducked = guns; }

    std::size_t getFireballCount() const { return fireballs.size(); }
    const FireballEffect* getFireball(std::size_t i) const { return fireballs[i].get(); }
    // The boom sources made so far: one for each boom that overlapped another.
    std::size_t getBoomSourceCount() const { return booms.size(); }
    const torvel::AudioSource* getBoom(std::size_t i) const { return booms[i]; }

private:
    HitEffects(const HitEffects&) = delete;
    HitEffects& operator=(const HitEffects&) = delete;

    torvel::AudioSource* freeBoom();

    irr::scene::ISceneManager* sceneManager;                // null: no fireballs
    irr::video::ITexture* fireballTexture;                  // null: no fireballs
    torvel::AudioManager* audio;                            // null: no booms
    std::vector<std::unique_ptr<FireballEffect>> fireballs; // burning now, oldest first
    std::vector<torvel::AudioSource*> booms;                // belong to the sound manager
    torvel::AudioSource* ducked = nullptr;                  // the guns' sound; belongs to the sound manager
    bool ducking = false;                                   // the guns are under a boom
    irr::u32 lastHit = 0;                                   // game time of the latest hit
};
