#include "FireControl.h"

#include <gtest/gtest.h>

namespace {
// Fires the rest of the running burst; returns the rounds fired.
int fireBurst(FireControl& fire)
{
    int fired = 0;
    while (fire.fireRound())
        ++fired;
    return fired;
}
} // namespace

TEST(FireControl, NewPressFiresOneBurstOfSixteen)
{
    FireControl fire;
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
    EXPECT_TRUE(fire.onButtons(true, false, 100));
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
    EXPECT_EQ(fire.getBurstRounds(), 16u);
    EXPECT_EQ(fire.getBurstsLeft(), 4u);
    for (unsigned expected = 79; expected >= 64; --expected) {
        ASSERT_TRUE(fire.fireRound());
        EXPECT_EQ(fire.getRoundsLeft(), expected);
    }
    EXPECT_FALSE(fire.fireRound());
    EXPECT_EQ(fire.getRoundsLeft(), 64u);
}

TEST(FireControl, HeldOrEarlyPressesDoNotQueue)
{
    FireControl fire;
    EXPECT_TRUE(fire.onButtons(true, false, 0));
    // Held through the burst and after it: no second burst.
    EXPECT_FALSE(fire.onButtons(true, false, 10));
    EXPECT_EQ(fireBurst(fire), 16);
    EXPECT_FALSE(fire.onButtons(true, false, 20));
    EXPECT_EQ(fire.getBurstRounds(), 0u);

    // Released and pressed again during a burst: the press is used up.
    EXPECT_FALSE(fire.onButtons(false, false, 30));
    EXPECT_TRUE(fire.onButtons(true, false, 40));
    fire.fireRound();
    EXPECT_FALSE(fire.onButtons(false, false, 50));
    EXPECT_FALSE(fire.onButtons(true, false, 60));
    EXPECT_EQ(fireBurst(fire), 15);
    EXPECT_EQ(fire.getBurstRounds(), 0u);
    EXPECT_EQ(fire.getBurstsLeft(), 3u);
    EXPECT_TRUE(fire.isTriggerHeld());
}

TEST(FireControl, EmptyMagazineFiresNothingUntilReloaded)
{
    FireControl fire;
    for (int burst = 0; burst < 5; ++burst) {
        EXPECT_TRUE(fire.onButtons(true, false, 0));
        EXPECT_EQ(fireBurst(fire), 16);
        fire.onButtons(false, false, 0);
    }
    EXPECT_EQ(fire.getRoundsLeft(), 0u);
    EXPECT_FALSE(fire.onButtons(true, false, 0));
    EXPECT_FALSE(fire.fireRound());

    fire.onButtons(false, true, 1000);
    fire.checkReload(16001);
    EXPECT_FALSE(fire.isReloading());
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
    EXPECT_TRUE(fire.onButtons(true, false, 16002));
}

TEST(FireControl, ReloadLastsFifteenSecondsAndBlocksBursts)
{
    FireControl fire;
    // Allowed with a full magazine.
    EXPECT_FALSE(fire.onButtons(false, true, 1000));
    EXPECT_TRUE(fire.isReloading());
    EXPECT_EQ(fire.getReloadEndTime(), 16000u);

    EXPECT_FALSE(fire.onButtons(true, false, 5000));
    EXPECT_EQ(fire.getBurstRounds(), 0u);
    fire.onButtons(false, false, 5001);

    fire.checkReload(15999);
    fire.checkReload(16000);
    EXPECT_TRUE(fire.isReloading());
    fire.checkReload(16001);
    EXPECT_FALSE(fire.isReloading());
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
    EXPECT_TRUE(fire.onButtons(true, false, 16002));
}

TEST(FireControl, BurstAndReloadInOneEvent)
{
    FireControl fire;
    EXPECT_TRUE(fire.onButtons(true, true, 500));
    EXPECT_TRUE(fire.isReloading());
    EXPECT_EQ(fire.getBurstRounds(), 16u);
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(fire.fireRound());
        fire.checkReload(600);
        EXPECT_TRUE(fire.isReloading());
    }
    // The reload completes mid-burst; the burst goes on on top of a full magazine.
    fire.checkReload(15501);
    EXPECT_FALSE(fire.isReloading());
    EXPECT_EQ(fire.getRoundsLeft(), 80u + 6u);
    EXPECT_EQ(fireBurst(fire), 6);
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
}

TEST(FireControl, HeldReloadButtonRestartsOnlyAfterCompletion)
{
    FireControl fire;
    fire.onButtons(false, true, 2000);
    for (unsigned t = 2100; t <= 17000; t += 100) {
        fire.onButtons(false, true, t);
        EXPECT_EQ(fire.getReloadEndTime(), 17000u);
    }
    fire.checkReload(17001);
    EXPECT_FALSE(fire.isReloading());
    fire.onButtons(false, true, 17050);
    EXPECT_TRUE(fire.isReloading());
    EXPECT_EQ(fire.getReloadEndTime(), 32050u);
}

TEST(FireControl, ReloadAcrossTheClockWrap)
{
    // Begun 1 s before the 32-bit clock wraps: the end lies past the wrap.
    FireControl fire;
    const unsigned start = 0xFFFFFFFFu - 999u;
    fire.onButtons(false, true, start);
    EXPECT_EQ(fire.getReloadEndTime(), 14000u);
    fire.checkReload(start + 1);
    fire.checkReload(0xFFFFFFFFu);
    fire.checkReload(0);
    fire.checkReload(14000);
    EXPECT_TRUE(fire.isReloading());
    fire.checkReload(14001);
    EXPECT_FALSE(fire.isReloading());

    // Ending exactly on the last millisecond before the wrap.
    FireControl edge;
    edge.onButtons(false, true, 0xFFFFFFFFu - 15000u);
    edge.checkReload(0xFFFFFFFFu);
    EXPECT_TRUE(edge.isReloading());
    edge.checkReload(0);
    EXPECT_FALSE(edge.isReloading());

    // A late first update, long after the end, still completes it.
    FireControl late;
    late.onButtons(false, true, 0xFFFFF000u);
    late.checkReload(0xFFFFF000u + 15000u + 3600000u);
    EXPECT_FALSE(late.isReloading());
}

TEST(FireControl, ClockSetBackDoesNotStretchTheReload)
{
    FireControl fire;
    fire.onButtons(false, true, 10000000);
    // An hour back: the reload ends fifteen seconds after the first look at the new time.
    fire.checkReload(10000000 - 3600000);
    EXPECT_TRUE(fire.isReloading());
    EXPECT_EQ(fire.getReloadEndTime(), 10000000u - 3600000u + 15000u);
    fire.checkReload(10000000 - 3600000 + 15001);
    EXPECT_FALSE(fire.isReloading());

    // Small steps back within the reload change nothing.
    FireControl steady;
    steady.onButtons(false, true, 50000);
    steady.checkReload(52000);
    steady.checkReload(51000);
    EXPECT_EQ(steady.getReloadEndTime(), 65000u);
}

TEST(FireControl, MuzzleFlashTableOverABurst)
{
    // Index: rounds still to come when the round is fired, 16 down to 1.
    const bool right[17] = {false, false, false, false, true, false, false, false, true,
                            false, false, false, true, false, false, false, true};
    const bool left[17] = {false, false, true, false, false, false, true, false, false,
                           false, true, false, false, false, true, false, false};
    for (unsigned rounds = 16; rounds >= 1; --rounds) {
        EXPECT_EQ(FireControl::rightFlashOn(rounds), right[rounds]) << rounds;
        EXPECT_EQ(FireControl::leftFlashOn(rounds), left[rounds]) << rounds;
        EXPECT_FALSE(FireControl::rightFlashOn(rounds) && FireControl::leftFlashOn(rounds));
    }
}

// Each round of the game starts with a full magazine, whatever the last one
// left, and a reload under way is called off: the player is not made to wait
// out a reload, nor to begin a round short of rounds.
TEST(FireControl, FreshMagazineRefillsAndEndsTheReload)
{
    FireControl fire;
    EXPECT_TRUE(fire.onButtons(true, false, 0));
    fireBurst(fire);
    fire.onButtons(false, false, 0);
    EXPECT_EQ(fire.getRoundsLeft(), 64u);
    fire.freshMagazine();
    EXPECT_EQ(fire.getRoundsLeft(), 80u);

    // A reload that has just begun: its seconds count down, rounded up.
    fire.onButtons(false, true, 1000);
    EXPECT_EQ(fire.reloadSecondsLeft(1000), 15u);
    EXPECT_EQ(fire.reloadSecondsLeft(1999), 15u);
    EXPECT_EQ(fire.reloadSecondsLeft(2000), 14u);
    EXPECT_EQ(fire.reloadSecondsLeft(15999), 1u);
    EXPECT_EQ(fire.reloadSecondsLeft(16000), 0u);
    fire.freshMagazine();
    EXPECT_FALSE(fire.isReloading());
    EXPECT_EQ(fire.reloadSecondsLeft(2000), 0u);
    EXPECT_TRUE(fire.onButtons(true, false, 2000));

    // A burst running at the new round goes on to its end.
    fire.fireRound();
    fire.freshMagazine();
    EXPECT_EQ(fire.getRoundsLeft(), 80u + 15u);
    EXPECT_EQ(fireBurst(fire), 15);
    EXPECT_EQ(fire.getRoundsLeft(), 80u);
}
