#include "RaidMode.h"

#include "FireUnit.h"

using namespace irr;

RaidMode::RaidMode(scene::ISceneManager* sceneManager, torvel::AudioManager* audio, HitEffects* hitEffects)
    : scene(sceneManager, audio, hitEffects), burstsSeen(0), burstOpen(false), burstHits(0), burstsFired(0),
      burstsHit(0)
{
}

void RaidMode::start(u32 number, u32 now, u32 fireUnitBursts)
{
    scene.clear();
    raid = std::make_unique<Raid>(number, now);
    burstsSeen = fireUnitBursts;
    burstOpen = false;
    burstHits = 0;
    burstsFired = 0;
    burstsHit = 0;
    scene.show(*raid, raid->takeEvents());
}

void RaidMode::abandon()
{
    scene.clear();
    raid.reset();
}

void RaidMode::settleBurst()
{
    raid->burstEnded(burstHits > 0);
    burstsHit += burstHits > 0;
    burstOpen = false;
    burstHits = 0;
}

bool RaidMode::step(u32 now, const FireUnit& fireUnit)
{
    if (!isRunning())
        return false;
    // A burst ends when its last round has gone or a new one begins.
    if (fireUnit.getBurstsFired() != burstsSeen) {
        if (burstOpen)
            settleBurst();
        burstsFired += fireUnit.getBurstsFired() - burstsSeen;
        burstsSeen = fireUnit.getBurstsFired();
        burstOpen = true;
    } else if (burstOpen && fireUnit.getBurstRounds() == 0) {
        settleBurst();
    }
    raid->advance(now);
    scene.show(*raid, raid->takeEvents());
    scene.update(*raid, now);
    if (!raid->isLost())
        return false;
    scene.clear();
    return true;
}

bool RaidMode::shoot(const core::line3df& shot, u32 now)
{
    if (!isRunning())
        return false;
    const bool hit = raid->shoot(shot, now);
    burstHits += hit;
    scene.show(*raid, raid->takeEvents());
    return hit;
}
