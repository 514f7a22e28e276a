#include "Raid.h"
#include "RaidArmour.h"
#include "RaidBomb.h"
#include "RaidCraft.h"
#include "RaidScore.h"
#include "RaidWaves.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace irr;

namespace {

// A line from the gun through where the point stands, as a round would go.
core::line3df shotAt(const core::vector3df& target)
{
    core::vector3df way = target;
    way.normalize();
    return core::line3df(core::vector3df(0, 1.5f, 0), way * 4000.0f);
}

RaidCraft::Draws middle() { return RaidCraft::Draws{0.3f, 0.5f, 0.5f, 0.5f}; }

// Runs the raid, frame by frame at 60 a second, until the time or the end.
std::vector<Raid::Event> runUntil(Raid& raid, u32& now, u32 until, u32 frame = 16)
{
    std::vector<Raid::Event> all;
    while (static_cast<s32>(now - until) < 0 && !raid.isLost()) {
        now += frame;
        raid.advance(now);
        for (const Raid::Event& event : raid.takeEvents())
            all.push_back(event);
    }
    return all;
}

} // namespace

TEST(RaidWaves, GentleStartThenMoreKindsAndGrowthPastTheTable)
{
    const RaidWaves::Wave first = RaidWaves::wave(1);
    EXPECT_EQ(first.fighters, 3u);
    EXPECT_EQ(first.total(), 3u);
    EXPECT_EQ(first.atOnce, 1u);
    EXPECT_EQ(first.attackStrength, 0.0f);
    EXPECT_EQ(RaidWaves::wave(0).total(), first.total());

    const RaidWaves::Wave third = RaidWaves::wave(3);
    EXPECT_GE((third.fighters > 0) + (third.bombers > 0) + (third.attackers > 0), 2);
    EXPECT_GE(third.atOnce, 2u);
    const RaidWaves::Wave fifth = RaidWaves::wave(5);
    EXPECT_TRUE(fifth.fighters > 0 && fifth.bombers > 0 && fifth.attackers > 0);
    EXPECT_GE(fifth.atOnce, 4u);

    const u32 last = static_cast<u32>(RaidWaves::table().size());
    const RaidWaves::Wave end = RaidWaves::wave(last), next = RaidWaves::wave(last + 1),
                          after = RaidWaves::wave(last + 2);
    EXPECT_EQ(next.fighters, end.fighters + 1);
    EXPECT_EQ(after.bombers, end.bombers + 1);
    EXPECT_EQ(after.attackers, end.attackers + 1);
    EXPECT_EQ(after.atOnce, end.atOnce + 1);
    EXPECT_GT(next.attackStrength, end.attackStrength);
    for (u32 n = 2; n < 60; ++n) {
        EXPECT_GE(RaidWaves::wave(n).total(), RaidWaves::wave(n - 1).total()) << n;
        EXPECT_LE(RaidWaves::wave(n).atOnce, 8u);
        EXPECT_LE(RaidWaves::wave(n).speedFactor, 1.6f);
    }
}

TEST(RaidCraft, HitsToDownPerKindOneHitPerBurst)
{
    const RaidWaves::Wave wave = RaidWaves::wave(5);
    RaidCraft fighter(RaidCraft::Fighter, wave, middle(), 0);
    EXPECT_TRUE(fighter.takeHit(1000));
    EXPECT_TRUE(fighter.isDown());
    EXPECT_FALSE(fighter.takeHit(2000));

    RaidCraft bomber(RaidCraft::Bomber, wave, middle(), 0);
    EXPECT_TRUE(bomber.takeHit(1000));
    // The next rounds of the same burst cross it too, but count once.
    EXPECT_FALSE(bomber.takeHit(1016));
    EXPECT_FALSE(bomber.takeHit(1000 + RaidCraft::hitInterval - 1));
    EXPECT_TRUE(bomber.takeHit(1000 + RaidCraft::hitInterval));
    EXPECT_FALSE(bomber.isDown());
    EXPECT_TRUE(bomber.takeHit(5000));
    EXPECT_TRUE(bomber.isDown());
    EXPECT_EQ(bomber.getHits(), 3u);

    RaidCraft attacker(RaidCraft::Attacker, wave, middle(), 0);
    EXPECT_TRUE(attacker.takeHit(500));
    EXPECT_TRUE(attacker.isDown());
    EXPECT_FALSE(attacker.isFiring(attacker.getRunEnd() - 1000));

    // A round through where it stands hits; one beside it misses.
    const core::vector3df at = fighter.positionAt(12000);
    EXPECT_TRUE(fighter.isCrossedBy(shotAt(at), 12000));
    EXPECT_FALSE(fighter.isCrossedBy(shotAt(at + core::vector3df(0, 40, 0)), 12000));
}

TEST(RaidCraft, KindsFlyTheirOwnWayAndAttack)
{
    const RaidWaves::Wave wave = RaidWaves::wave(5);
    for (f32 draw : {0.0f, 0.37f, 0.99f}) {
        const RaidCraft::Draws draws{draw, draw, draw, draw};
        RaidCraft fighter(RaidCraft::Fighter, wave, draws, 0);
        RaidCraft bomber(RaidCraft::Bomber, wave, draws, 0);
        RaidCraft attacker(RaidCraft::Attacker, wave, draws, 0);
        EXPECT_LT(bomber.getSpeed(), fighter.getSpeed());
        EXPECT_GT(bomber.positionAt(0).Y, fighter.positionAt(0).Y);
        EXPECT_LE(attacker.positionAt(0).Y, wave.altitudeLow);
        EXPECT_FALSE(fighter.hasLeft(fighter.getFlightTime()));
        EXPECT_TRUE(fighter.hasLeft(fighter.getFlightTime() + 1));

        // The bomber's stick, falling with its speed, lands across the gun.
        ASSERT_EQ(bomber.getBombTimes().size(), RaidCraft::bombsPerStick);
        for (u32 release : bomber.getBombTimes()) {
            const RaidBomb bomb(bomber.positionAt(release), bomber.getDirection() * bomber.getSpeed(), release,
                                RaidCraft::bombGravity, 1.0f);
            const core::vector3df ground = bomb.landingPoint();
            EXPECT_LT(std::hypot(ground.X, ground.Z), RaidBomb::damageRadius);
            EXPECT_GT(bomb.damage(), 0u);
        }

        // The attacker dives into range, fires, strikes at the run's end and climbs away.
        const u32 end = attacker.getRunEnd();
        ASSERT_GT(end, 0u);
        EXPECT_TRUE(attacker.isFiring(end - 200));
        EXPECT_FALSE(attacker.isFiring(end + 100));
        EXPECT_LT(attacker.positionAt(end).Y, attacker.positionAt(0).Y);
        EXPECT_LT(attacker.headingAt(end - 2000).Y, 0.0f);
        EXPECT_GT(attacker.positionAt(attacker.getFlightTime()).Y, attacker.positionAt(0).Y);
    }
    // In a wave without attacks the attacker would not fire.
    RaidCraft harmless(RaidCraft::Attacker, RaidWaves::wave(1), middle(), 0);
    EXPECT_EQ(harmless.getRunEnd(), 0u);
}

TEST(RaidRules, BombsArmourScoreAndMultiplier)
{
    // A bomb let go 100 up at rest lands after sqrt(2 h / g) s, on the spot.
    const RaidBomb bomb(core::vector3df(30, 100, 40), core::vector3df(0, 0, 0), 1000, 50.0f, 1.0f);
    EXPECT_EQ(bomb.getLandTime(), 1000u + 2000u);
    EXPECT_FALSE(bomb.hasLanded(2999));
    EXPECT_TRUE(bomb.hasLanded(3000));
    EXPECT_NEAR(bomb.positionAt(2000).Y, 75.0f, 0.01f);
    EXPECT_EQ(bomb.damage(), RaidBomb::damageAt(50.0f, 1.0f));
    EXPECT_TRUE(bomb.isCrossedBy(shotAt(bomb.positionAt(2000)), 2000));
    EXPECT_EQ(RaidBomb::damageAt(0.0f, 1.0f), 15u);
    EXPECT_EQ(RaidBomb::damageAt(0.0f, 2.0f), 30u);
    EXPECT_EQ(RaidBomb::damageAt(RaidBomb::damageRadius, 1.0f), 0u);
    EXPECT_EQ(RaidBomb::damageAt(10.0f, 0.0f), 0u);

    RaidArmour armour;
    EXPECT_EQ(armour.get(), 100u);
    armour.damage(41);
    armour.repair();
    EXPECT_EQ(armour.get(), 59u + 10u);
    armour.damage(500);
    EXPECT_TRUE(armour.isLost());
    armour.repair();
    EXPECT_EQ(armour.get(), 0u);

    RaidScore score;
    EXPECT_EQ(score.downed(core::vector3df(0, 300, 400)), 1500u);
    score.burstEnded(true);
    EXPECT_EQ(score.getMultiplier(), 2u);
    EXPECT_EQ(score.downed(core::vector3df(0, 300, 400)), 3000u);
    for (int i = 0; i < 6; ++i)
        score.burstEnded(true);
    EXPECT_EQ(score.getMultiplier(), 5u);
    score.bombShot();
    EXPECT_EQ(score.getPoints(), 4500u + 250u);
    score.burstEnded(false);
    EXPECT_EQ(score.getMultiplier(), 1u);
    score.waveCleared(3, false);
    EXPECT_EQ(score.getPoints(), 4750u);
    score.waveCleared(3, true);
    EXPECT_EQ(score.getPoints(), 7750u);
}

TEST(Raid, WavesShotDownScoreAndAUnattendedRaidIsLost)
{
    u32 now = 123456;
    Raid raid(7, now);
    EXPECT_EQ(raid.getWave(), 1u);
    EXPECT_TRUE(raid.isAnnouncing(now + Raid::waveGap - 1));
    EXPECT_EQ(raid.getAircraftLeft(), 3u);
    runUntil(raid, now, now + Raid::waveGap - 16);
    EXPECT_TRUE(raid.getCraft().empty());

    // Each aircraft of waves 1 and 2 shot down as soon as it is in the air:
    // one at a time in wave 1, a clean wave, and its bonus.
    u32 downedAll = 0;
    while (raid.getWave() <= 2 && !raid.isLost()) {
        now += 16;
        raid.advance(now);
        u32 inAir = 0;
        for (const Raid::Flying& flying : raid.getCraft())
            inAir += !flying.gone && !flying.craft.isDown();
        EXPECT_LE(inAir, RaidWaves::wave(raid.getWave()).atOnce);
        for (const Raid::Flying& flying : raid.getCraft())
            if (!flying.gone && !flying.craft.isDown() && now - flying.craft.getStart() > 3000)
                downedAll += raid.shoot(shotAt(flying.craft.positionAt(now)), now);
        for (const Raid::Event& event : raid.takeEvents())
            EXPECT_NE(event.type, Raid::Event::GunHit);
    }
    EXPECT_EQ(raid.getWave(), 3u);
    EXPECT_EQ(downedAll, 8u);
    EXPECT_EQ(raid.getDowned(RaidCraft::Fighter), 8u);
    EXPECT_EQ(raid.getArmour(), 100u);
    EXPECT_GT(raid.getPoints(), 8u * 1000u + 1000u + 2000u);

    // Left alone from wave 3 on, the bombs and the runs take the armour.
    bool bombBurst = false, gunHit = false, cannon = false, lostEvent = false;
    for (const Raid::Event& event : runUntil(raid, now, now + 20u * 60u * 1000u)) {
        bombBurst |= event.type == Raid::Event::BombBurst;
        gunHit |= event.type == Raid::Event::GunHit;
        cannon |= event.type == Raid::Event::CannonFired;
        lostEvent |= event.type == Raid::Event::PositionLost;
    }
    EXPECT_TRUE(bombBurst && gunHit && cannon && lostEvent);
    EXPECT_TRUE(raid.isLost());
    EXPECT_EQ(raid.getArmour(), 0u);
    EXPECT_GE(raid.getWavesSurvived(), 3u);
    EXPECT_LE(raid.getWavesSurvived(), 8u);
    EXPECT_FALSE(raid.shoot(shotAt(core::vector3df(0, 100, 100)), now));
}

TEST(Raid, SameNumberSameRaidAndABombCanBeShot)
{
    // Slow frames make up every step: the same raid, on the same clock.
    const auto entries = [](u32 number, u32 frame) {
        u32 now = 5;
        Raid raid(number, now);
        std::vector<std::pair<u32, core::vector3df>> where;
        for (const Raid::Event& event : runUntil(raid, now, now + 6u * 60u * 1000u, frame))
            if (event.type == Raid::Event::CraftEntered)
                where.emplace_back(event.time, event.position);
        return where;
    };
    const auto first = entries(42, 16), again = entries(42, 16), slowly = entries(42, 700), other = entries(43, 16);
    ASSERT_GT(first.size(), 10u);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first, slowly);
    EXPECT_NE(first, other);

    // The first bomb of the raid, shot on its way down: 250 and no burst.
    u32 now = 0;
    Raid raid(42, now);
    while (raid.getBombs().empty() && !raid.isLost()) {
        now += 16;
        raid.advance(now);
    }
    ASSERT_FALSE(raid.getBombs().empty());
    const u32 before = raid.getPoints();
    now += 500;
    EXPECT_TRUE(raid.shoot(shotAt(raid.getBombs()[0].bomb.positionAt(now)), now));
    EXPECT_EQ(raid.getPoints(), before + RaidBomb::points);
    EXPECT_TRUE(raid.getBombs()[0].gone);

    // Waves let pass unharmed are over, but not cleared: no bonus.
    u32 idleNow = 0;
    Raid idle(42, idleNow);
    while (idle.getWave() < 3) {
        idleNow += 16;
        idle.advance(idleNow);
    }
    EXPECT_EQ(idle.getPoints(), 0u);
}
