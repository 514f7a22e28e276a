#include "FramePacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

const std::int64_t PERIOD = FramePacer::SIXTY_A_SECOND_US;

// Runs frames that take the given times (us), each followed by the sleep
// the pacer asks for, plus oversleep (us) on top of every sleep; returns the
// times at which the frames began.
std::vector<std::int64_t> run(FramePacer& pacer, const std::vector<std::int64_t>& frameTimes, std::int64_t oversleep = 0)
{
    std::vector<std::int64_t> starts;
    std::int64_t now = 1000000;
    for (std::int64_t work : frameTimes) {
        starts.push_back(now);
        now += work;
        const std::int64_t sleep = pacer.sleepAfterFrame(now);
        EXPECT_GE(sleep, 0);
        EXPECT_LE(sleep, PERIOD);
        now += sleep + (sleep > 0 ? oversleep : 0);
    }
    return starts;
}

} // namespace

TEST(FramePacer, QuickFramesAreHeldToSixtyASecond)
{
    FramePacer pacer;
    const std::vector<std::int64_t> starts = run(pacer, std::vector<std::int64_t>(601, 5000));
    // The first frame sets the schedule; the 600 after it take ten seconds.
    EXPECT_NEAR(static_cast<double>(starts.back() - starts[1]), 599.0 * PERIOD, 1.0);
    for (std::size_t i = 2; i < starts.size(); ++i)
        EXPECT_EQ(starts[i] - starts[i - 1], PERIOD) << "frame " << i;
}

TEST(FramePacer, SleepingTooLongIsMadeUpWithoutDrift)
{
    FramePacer pacer;
    const std::vector<std::int64_t> starts = run(pacer, std::vector<std::int64_t>(601, 5000), 900);
    // Each frame begins up to one oversleep late, but the schedule holds.
    EXPECT_LE(starts.back() - starts[1], 599 * PERIOD + 900);
    EXPECT_GE(starts.back() - starts[1], 599 * PERIOD);
}

TEST(FramePacer, SlowFramesDoNotSleepAndALongStallIsNotCaughtUpInABurst)
{
    FramePacer pacer;
    EXPECT_EQ(pacer.sleepAfterFrame(0), 0);
    EXPECT_EQ(pacer.sleepAfterFrame(20000), 0);            // later than its 16.7 ms: no sleep
    EXPECT_EQ(pacer.sleepAfterFrame(30000), 3334);         // back on schedule: the frame due at 33334
    // A stall of a tenth of a second: the frames after it keep their pace
    // from the stall on, instead of six of them following without a pause.
    EXPECT_EQ(pacer.sleepAfterFrame(140000), 0);
    EXPECT_EQ(pacer.sleepAfterFrame(145000), PERIOD - 5000);
    EXPECT_EQ(pacer.sleepAfterFrame(140000 + PERIOD + 5000), PERIOD - 5000);
}

TEST(FramePacer, ASlightlyLateFrameShortensTheNextSleepOnly)
{
    FramePacer pacer(10000);
    EXPECT_EQ(pacer.sleepAfterFrame(0), 0);
    EXPECT_EQ(pacer.sleepAfterFrame(2000), 8000);      // due at 10000
    EXPECT_EQ(pacer.sleepAfterFrame(22000), 0);        // due at 20000, 2 ms late
    EXPECT_EQ(pacer.sleepAfterFrame(25000), 5000);     // still due at 30000
}
