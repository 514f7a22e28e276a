#pragma once

#include <irrTypes.h>
#include <line3d.h>

#include <memory>

#include "Raid.h"
#include "RaidScene.h"

class FireUnit;

// The air raid as a way to play beside the round: starts and abandons a
// raid, steps its rules once a frame, follows the fire unit's bursts for
// the multiplier and the accuracy, takes the rounds' lines while it runs
// and hands what happened to its scene. After the gun position is lost it
// keeps the raid for the panel until the next start.
class RaidMode {
public:
    RaidMode(irr::scene::ISceneManager* sceneManager, torvel::AudioManager* audio, HitEffects* hitEffects);

    void preload() { scene.preload(); }
    // A new raid of that number at game time now; the fire unit's count of
    // bursts so far, so that only the raid's own count.
    void start(irr::u32 number, irr::u32 now, irr::u32 burstsFired);
    // Ends the raid at once: nothing shown, nothing kept.
    void abandon();
    // Once a frame, before the fire unit steps: the raid's steps due by now.
    // True in the frame the gun position is lost.
    bool step(irr::u32 now, const FireUnit& fireUnit);
    // One round's line, at the game time of its step.
    bool shoot(const irr::core::line3df& shot, irr::u32 now);

    // A raid is flying (not lost, not abandoned).
    bool isRunning() const { return raid && !raid->isLost(); }
    // The raid that runs or was lost last; null after an abandon or before the first.
    const Raid* getRaid() const { return raid.get(); }
    const RaidScene& getScene() const { return scene; }
    irr::u32 getBurstsFired() const { return burstsFired; }
    irr::u32 getBurstsHit() const { return burstsHit; }

private:
    void settleBurst();

    std::unique_ptr<Raid> raid;
    RaidScene scene;
    irr::u32 burstsSeen;      // the fire unit's count at the last step
    bool burstOpen;           // a burst of the raid is being fired
    irr::u32 burstHits;       // rounds of the open burst that hit
    irr::u32 burstsFired;     // bursts of this raid
    irr::u32 burstsHit;       // of them, the ones that hit
};
