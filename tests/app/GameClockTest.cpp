#include "GameClock.h"

#include <gtest/gtest.h>

using namespace irr;

TEST(GameClock, IsTheRealTimeLessThePausesAcrossTheWrap)
{
    GameClock clock;
    EXPECT_EQ(clock.now(1234), 1234u) << "no pause: the real time itself";
    clock.resume(2000);   // not paused: nothing
    EXPECT_EQ(clock.now(5000), 5000u);

    // Paused at 0xFFFFF000 for 10 s, across the real clock's wrap.
    clock.pause(0xFFFFF000u);
    clock.pause(0xFFFFF100u);   // a second pause does not move its start
    EXPECT_TRUE(clock.isPaused());
    EXPECT_EQ(clock.now(0xFFFFF800u), 0xFFFFF000u);
    EXPECT_EQ(clock.now(5000), 0xFFFFF000u) << "stands still while paused";
    clock.resume(0xFFFFF000u + 10000u);
    EXPECT_FALSE(clock.isPaused());
    EXPECT_EQ(clock.getPausedTotal(), 10000u);
    EXPECT_EQ(clock.now(0xFFFFF000u + 10000u), 0xFFFFF000u) << "goes on from where it stood";
    EXPECT_EQ(clock.now(0xFFFFF000u + 10500u), 0xFFFFF000u + 500u);

    // A second pause adds to the first.
    clock.pause(100000);
    clock.resume(160000);
    EXPECT_EQ(clock.now(170000), 170000u - 70000u);
}
