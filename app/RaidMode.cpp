#include "RaidMode.h"

#include "FireUnit.h"
#include "RaidContacts.h"
#include "RaidPanel.h"
#include "RaidView.h"

#include <ctime>

using namespace irr;

RaidMode::RaidMode(scene::ISceneManager* sceneManager, torvel::AudioManager* audio, HitEffects* hitEffects,
                   const FireUnit& fireUnit, const std::string& tablePath)
    : fireUnit(fireUnit), scene(sceneManager, audio, hitEffects), table(tablePath), place(RaidTable::notEntered),
      lostAt(0), nextNumber(0), numberGiven(false), burstsSeen(0), burstOpen(false), burstHits(0), burstsFired(0),
      burstsHit(0)
{
}

bool RaidMode::start(u32 now)
{
    // F8 during a raid is ignored; over the last raid's panel it starts the next.
    if (isRunning())
        return false;
    // A raid number from the clock, unless one was asked for.
    const u32 number = numberGiven ? nextNumber : static_cast<u32>(std::time(nullptr)) ^ now;
    numberGiven = false;
    scene.clear();
    raid = std::make_unique<Raid>(number, now);
    place = RaidTable::notEntered;
    burstsSeen = fireUnit.getBurstsFired();
    burstOpen = false;
    burstHits = 0;
    burstsFired = 0;
    burstsHit = 0;
    scene.show(*raid, raid->takeEvents());
    return true;
}

void RaidMode::stop()
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

void RaidMode::followBursts()
{
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
}

void RaidMode::step(u32 now)
{
    if (!raid)
        return;
    if (raid->isLost()) {
        if (now - lostAt >= RaidPanel::panelTime)
            stop();
        return;
    }
    followBursts();
    raid->advance(now);
    scene.show(*raid, raid->takeEvents());
    scene.update(*raid, now);
    if (raid->isLost())
        lose(now);
}

void RaidMode::lose(u32 now)
{
    scene.clear();
    lostAt = now;
    place = table.record(RaidTable::Entry{raid->getPoints(), raid->getWavesSurvived(), raid->getStartValue(),
                                          static_cast<u64>(std::time(nullptr))});
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

core::stringw RaidMode::hudText(u32) const
{
    // In a raid the HUD counts the raid's aircraft and points, with the
    // armour and the multiplier under them.
    return RaidPanel::hud(fireUnit.isReloading(), [this] { return fireUnit.getRoundsLeft(); }, aircraftLeft(),
                          points(), raid ? raid->getArmour() : 0, raid ? raid->getMultiplier() : 1);
}

void RaidMode::drawOverHud(video::IVideoDriver* driver, u32 now) const
{
    if (isRunning() && scene.wasGunHit())
        RaidView::drawEdges(driver, RaidPanel::flash(now - scene.getGunHitTime()));
}

core::rect<s32> RaidMode::drawCentre(video::IVideoDriver* driver, gui::IGUIFont* font, u32 now)
{
    // Over the sight, as the round's panel: the wave's banner, or the panel
    // once the position is lost.
    if (!raid)
        return core::rect<s32>();
    if (!raid->isLost()) {
        if (raid->isAnnouncing(now))
            RaidView::drawBanner(driver, font, RaidPanel::banner(raid->getWave()));
        return core::rect<s32>();
    }
    const RaidSummary summary{raid->getWavesSurvived(),
                              {raid->getDowned(RaidCraft::Fighter), raid->getDowned(RaidCraft::Bomber),
                               raid->getDowned(RaidCraft::Attacker)},
                              raid->getPoints(), burstsFired, burstsHit};
    std::vector<core::stringw> lines = RaidPanel::lines(summary);
    int marked = -1;
    RaidPanel::addTable(lines, table.getEntries(), place, marked);
    return RaidView::drawPanel(driver, font, lines, marked);
}

std::vector<RadarContact> RaidMode::contacts(u32 now) const
{
    if (!isRunning())
        return {};
    return RaidContacts::of(*raid, now);
}

void RaidMode::shake(u32 now, f32& right, f32& up) const
{
    right = up = 0.0f;
    if (isRunning() && scene.wasGunHit())
        RaidPanel::shake(now - scene.getGunHitTime(), right, up);
}
