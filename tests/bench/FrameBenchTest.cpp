#include "FrameBench.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

// A short run on the real device: the game frames must really have their five
// smoking jets in view and its bursts, and the bare world none of the game's steps.
TEST(FrameBench, ShortRunMeasuresFiveSmokingJetsInViewAndTheBareWorld)
{
    FrameBench::Settings settings;
    settings.frames = 40;
    settings.warmupMs = 200;
    settings.measureMs = 3000;
    settings.steadyFrames = 30;
    settings.stillSeconds = 1;
    FrameBench bench(settings);
    ASSERT_TRUE(bench.run());

    EXPECT_EQ(bench.getSteadyTimes().count(), 30u);
    // At rest the game's own loop is held to 60 frames a second here, where
    // the software renderer refuses vsync; the loop without it is not held.
    EXPECT_GT(bench.getStillFramesPerSecond(true), 0.0);
    EXPECT_LE(bench.getStillFramesPerSecond(true), 61.0);
    EXPECT_GT(bench.getStillCpuPerSecond(true), 0.0);
    EXPECT_GT(bench.getStillCpuPerSecond(false), 0.0);
    // The game's own loop draws nothing new at rest; the bare frame loop does.
    EXPECT_LT(bench.getStillCpuPerSecond(true), 0.5 * bench.getStillCpuPerSecond(false));

    EXPECT_EQ(bench.getSmokingJets(), 5u);
    EXPECT_GE(bench.getJetsInViewPerFrame(), 4.5);
    // Burst after burst, an empty magazine replaced at once: a reload would
    // leave most of the frames measured without one.
    EXPECT_GT(bench.getFiringShare(), 0.4);

    for (bool game : {true, false}) {
        for (FrameBench::Sync sync : {FrameBench::SYNC_AT_END, FrameBench::SYNC_EACH_STEP}) {
            const SampleStats& whole = bench.getTimes(game, sync, FrameBench::WHOLE_FRAME);
            EXPECT_GT(whole.count(), 0u);
            // The frame is timed as a whole, so it can be no shorter than drawing it.
            EXPECT_GE(whole.median(), bench.getTimes(game, sync, FrameBench::DRAW_ALL).median());
            EXPECT_EQ(bench.getTimes(game, sync, FrameBench::AIRSPACE_UPDATE).count(), game ? whole.count() : 0u);
            EXPECT_EQ(bench.getTimes(game, sync, FrameBench::OWN_STEPS).count(), game ? whole.count() : 0u);
            // Every phase of the game's own frame was seen to end.
            EXPECT_EQ(bench.getTimes(game, sync, FrameBench::OVERLAYS).count(), game ? whole.count() : 0u);
        }
    }

    std::ostringstream report;
    bench.report(report);
    EXPECT_NE(report.str().find("game / bare world"), std::string::npos);
    EXPECT_NE(report.str().find("99th percentile"), std::string::npos);
}

// Ten jets, a second round started while the first round's five still fly:
// all ten smoking and on screen, and the frames with only the first five
// shown taking turns with them.
TEST(FrameBench, TenSmokingJetsInViewBesideTheirFirstFive)
{
    FrameBench::Settings settings;
    settings.aircraft = 10;
    settings.frames = 30;
    settings.warmupMs = 200;
    settings.measureMs = 2000;
    settings.steadyFrames = 5;
    settings.stillSeconds = 0;
    FrameBench bench(settings);
    ASSERT_TRUE(bench.run());

    EXPECT_EQ(bench.getSmokingJets(), 10u);
    EXPECT_GE(bench.getJetsInViewPerFrame(), 9.5);
    const SampleStats& five = bench.getFiveJetTimes(FrameBench::SYNC_AT_END, FrameBench::WHOLE_FRAME);
    EXPECT_GT(five.count(), 0u);
    EXPECT_LE(five.count(), bench.getTimes(true, FrameBench::SYNC_AT_END, FrameBench::WHOLE_FRAME).count());
    std::ostringstream report;
    bench.report(report);
    EXPECT_NE(report.str().find("10 jets / the first five of them alone"), std::string::npos) << report.str();
}
