#include "Aircraft.h"
#include "AirTestDir.h"
#include "Airspace.h"
#include "EngineContext.h"
#include "FlightRules.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace irr;
using core::line3df;
using core::vector3df;

namespace {

constexpr u32 sceneTime = 200000;   // the stopped scene clock

std::string lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "~Aircraft\n";
    return text;
}

// Puts a jet where its animator has it after elapsed ms of scene time.
void fly(const Aircraft& jet, u32 elapsed)
{
    jet.getNode()->OnAnimate(sceneTime + elapsed);
}

line3df shotThrough(const Aircraft& jet)
{
    const vector3df centre = jet.getNode()->getTransformedBoundingBox().getCenter();
    return line3df(vector3df(0, 0, 0), centre * 2.0f);
}

class AirspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0')
            GTEST_SKIP() << "needs an X display";
    }

    // Enters a scratch game directory and stops the scene clock.
    void enter(bool withJetMesh)
    {
        dir = std::make_unique<AirTestDir>(withJetMesh, false);
        ITimer* timer = getDevice()->getTimer();
        timer->stop();
        timer->setTime(sceneTime);
        airspace = std::make_unique<Airspace>();
    }

    // Starts a round at t0 and runs it to its n-th spawn; returns that spawn's time.
    u32 runToSpawn(u32 t0, u32 n)
    {
        airspace->start(t0);
        u32 spawnTime = t0 + 5001;
        for (u32 i = 1; i <= n; ++i) {
            airspace->update(spawnTime);
            if (i < n)
                spawnTime += FlightRules::spawnInterval + 1;
        }
        return spawnTime;
    }

    void TearDown() override
    {
        testing::internal::CaptureStdout();   // quiet the jets that are left
        airspace.reset();
        testing::internal::GetCapturedStdout();
    }

    std::unique_ptr<AirTestDir> dir;
    std::unique_ptr<Airspace> airspace;
};

} // namespace

TEST_F(AirspaceTest, NothingFliesBeforeStart)
{
    enter(true);
    for (u32 now : {0u, 5001u, 45001u, 1000000u, 0xFFFFFFFFu})
        airspace->update(now);
    EXPECT_TRUE(airspace->getAircraft().empty());
    EXPECT_FALSE(airspace->isActive());
    EXPECT_EQ(airspace->getAircraftLeft(), 0u);
    EXPECT_EQ(airspace->getPoints(), 0u);
}

TEST_F(AirspaceTest, RoundSendsFiveJetsOnScheduleAndEnds)
{
    enter(true);
    const u32 t0 = 0xFFFF0000u;   // the round runs across the wrap of the real clock
    airspace->start(t0);
    EXPECT_TRUE(airspace->isActive());
    EXPECT_EQ(airspace->getAircraftLeft(), 5u);

    airspace->update(t0 + 5000u);
    EXPECT_TRUE(airspace->getAircraft().empty());

    u32 spawnTime = t0 + 5001u;
    for (u32 n = 1; n <= 5; ++n) {
        airspace->update(spawnTime);
        ASSERT_EQ(airspace->getAircraft().size(), n);
        EXPECT_EQ(airspace->getAircraftLeft(), 5 - n);
        const Aircraft& newest = *airspace->getAircraft().back();
        EXPECT_EQ(newest.getStartTime(), spawnTime);
        EXPECT_NEAR(newest.getPath().getLength(), 4000.0f, 0.01f);
        EXPECT_EQ(newest.getPath().start.Y, newest.getPath().end.Y);
        EXPECT_GE(newest.getFlightTime(), 30000u);
        EXPECT_LE(newest.getFlightTime(), 45000u);

        airspace->update(spawnTime + 45000u);
        EXPECT_EQ(airspace->getAircraft().size(), n) << "nothing at exactly 45000 ms";
        spawnTime += 45001u;
    }
    // Each jet drew a path of its own.
    EXPECT_NE(airspace->getAircraft()[0]->getPath().start, airspace->getAircraft()[1]->getPath().start);

    testing::internal::CaptureStdout();
    airspace->update(spawnTime);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines(5));
    EXPECT_TRUE(airspace->getAircraft().empty());
    EXPECT_FALSE(airspace->isActive());
    EXPECT_EQ(airspace->getAircraftLeft(), 0u);

    airspace->update(spawnTime + 100000u);
    EXPECT_TRUE(airspace->getAircraft().empty());
}

TEST_F(AirspaceTest, HitsScoreOncePerJet)
{
    enter(true);
    std::cerr << (dir->usesBakedJet() ? "baked jet\n" : "stand-in box jet\n");
    runToSpawn(1000000, 2);
    ASSERT_EQ(airspace->getAircraft().size(), 2u);
    const Aircraft& first = *airspace->getAircraft()[0];
    const Aircraft& second = *airspace->getAircraft()[1];
    fly(first, 14000);
    fly(second, 16000);

    EXPECT_FALSE(airspace->checkHits(line3df(vector3df(0, -5000, 0), vector3df(10, -5000, 0))));
    EXPECT_EQ(airspace->getPoints(), 0u);

    // One line from the middle of one box to the middle of the other crosses both.
    const vector3df a = first.getNode()->getTransformedBoundingBox().getCenter();
    const vector3df b = second.getNode()->getTransformedBoundingBox().getCenter();
    const line3df both(a, b);
    EXPECT_TRUE(airspace->checkHits(both));
    const u32 expected = FlightRules::pointsAfterHit(
        FlightRules::pointsAfterHit(0, first.getAbsolutePosition()), second.getAbsolutePosition());
    EXPECT_EQ(airspace->getPoints(), expected);
    EXPECT_GE(airspace->getPoints(), 2000u + 100u);
    EXPECT_FALSE(first.isAlive());
    EXPECT_FALSE(second.isAlive());

    EXPECT_FALSE(airspace->checkHits(both)) << "jets hit before score no more";
    EXPECT_FALSE(airspace->checkHits(shotThrough(first)));
    EXPECT_EQ(airspace->getPoints(), expected);
}

TEST_F(AirspaceTest, HitScoresItsDistanceFromTheTurret)
{
    enter(true);
    runToSpawn(50000, 1);
    const Aircraft& jet = *airspace->getAircraft()[0];
    fly(jet, 10000);
    const vector3df at = jet.getAbsolutePosition();
    EXPECT_TRUE(airspace->checkHits(shotThrough(jet)));
    EXPECT_EQ(airspace->getPoints(), static_cast<u32>(1000.0f + at.getLength()));
}

TEST_F(AirspaceTest, StopClearsTheSkyAndKeepsTheCounters)
{
    enter(true);
    testing::internal::CaptureStdout();
    airspace->stop();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "stop with no jets prints nothing";

    const u32 secondSpawn = runToSpawn(300000, 2);
    fly(*airspace->getAircraft()[0], 15000);
    ASSERT_TRUE(airspace->checkHits(shotThrough(*airspace->getAircraft()[0])));
    const u32 points = airspace->getPoints();

    testing::internal::CaptureStdout();
    airspace->stop();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines(2));
    EXPECT_TRUE(airspace->getAircraft().empty());
    EXPECT_FALSE(airspace->isActive());
    EXPECT_EQ(airspace->getAircraftLeft(), 3u);
    EXPECT_EQ(airspace->getPoints(), points);

    airspace->update(secondSpawn + 200000);
    EXPECT_TRUE(airspace->getAircraft().empty()) << "a stopped round sends no more jets";
}

TEST_F(AirspaceTest, StartDuringARoundBeginsAfreshAndKeepsTheJets)
{
    enter(true);
    const u32 secondSpawn = runToSpawn(400000, 2);
    fly(*airspace->getAircraft()[0], 15000);
    fly(*airspace->getAircraft()[1], 15000);
    ASSERT_TRUE(airspace->checkHits(shotThrough(*airspace->getAircraft()[0])));
    ASSERT_GT(airspace->getPoints(), 0u);

    const u32 restart = secondSpawn + 1000;
    airspace->start(restart);
    EXPECT_EQ(airspace->getAircraftLeft(), 5u);
    EXPECT_EQ(airspace->getPoints(), 0u);
    EXPECT_EQ(airspace->getAircraft().size(), 2u);

    // The jets in flight can still score in the new round.
    EXPECT_TRUE(airspace->checkHits(shotThrough(*airspace->getAircraft()[1])));
    EXPECT_GT(airspace->getPoints(), 1000u);

    airspace->update(restart + 5000);
    EXPECT_EQ(airspace->getAircraft().size(), 2u);
    airspace->update(restart + 5001);
    EXPECT_EQ(airspace->getAircraft().size(), 3u);
    EXPECT_EQ(airspace->getAircraftLeft(), 4u);
}

TEST_F(AirspaceTest, FinishedJetsLeaveInTheUpdateThatSeesThem)
{
    enter(true);
    const u32 lastSpawn = runToSpawn(600000, 3);
    ASSERT_EQ(airspace->getAircraft().size(), 3u);
    const Aircraft* third = airspace->getAircraft()[2].get();
    // The first two reach the end of their paths; the third is still on its way.
    fly(*airspace->getAircraft()[0], 45000);
    fly(*airspace->getAircraft()[1], 45000);
    fly(*third, 1000);

    testing::internal::CaptureStdout();
    airspace->update(lastSpawn + 10);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines(2));
    ASSERT_EQ(airspace->getAircraft().size(), 1u);
    EXPECT_EQ(airspace->getAircraft()[0].get(), third);
    EXPECT_EQ(airspace->getAircraftLeft(), 2u);
}

TEST_F(AirspaceTest, WithoutTheJetMeshARoundStillRunsItsCourse)
{
    enter(false);
    const u32 t0 = 700000;
    airspace->start(t0);
    airspace->update(t0 + 5001);
    ASSERT_EQ(airspace->getAircraft().size(), 1u);
    const Aircraft& jet = *airspace->getAircraft()[0];
    EXPECT_EQ(jet.getNode(), nullptr);
    EXPECT_FALSE(airspace->checkHits(line3df(jet.getPath().start, jet.getPath().end)));
    EXPECT_EQ(airspace->getPoints(), 0u);

    // It leaves when its flight time is over on the real clock.
    const u32 landing = t0 + 5001 + jet.getFlightTime();
    airspace->update(landing - 1);
    EXPECT_EQ(airspace->getAircraft().size(), 1u);
    testing::internal::CaptureStdout();
    airspace->update(landing);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines(1));
    EXPECT_TRUE(airspace->getAircraft().empty());
    EXPECT_EQ(airspace->getAircraftLeft(), 4u);

    // The next jet lands by the time the one after it comes: the spawn and the
    // removal happen in the same update, and the new jet stays.
    const u32 second = t0 + 5001 + 45001;
    airspace->update(second);
    ASSERT_EQ(airspace->getAircraft().size(), 1u);
    testing::internal::CaptureStdout();
    airspace->update(second + 45001);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines(1));
    ASSERT_EQ(airspace->getAircraft().size(), 1u);
    EXPECT_EQ(airspace->getAircraft()[0]->getStartTime(), second + 45001);
    EXPECT_EQ(airspace->getAircraftLeft(), 2u);
}

TEST_F(AirspaceTest, TheGameInstanceRunsOnTheTimeItIsGiven)
{
    enter(true);
    Airspace* game = getAirspace();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game, getAirspace());
    EXPECT_FALSE(game->isActive());
    // Times far from the device's own clock: the airspace reads none itself.
    const u32 start = getDevice()->getTimer()->getRealTime() + 0x80000000u;
    game->start(start);
    EXPECT_TRUE(game->isActive());
    EXPECT_EQ(game->getAircraftLeft(), 5u);
    game->update(start + 5000);
    EXPECT_TRUE(game->getAircraft().empty());
    EXPECT_EQ(game->getAircraftLeft(), 5u);
    game->update(start + 5001);
    EXPECT_EQ(game->getAircraft().size(), 1u);
    EXPECT_EQ(game->getAircraftLeft(), 4u);
    game->stop();
    EXPECT_FALSE(game->isActive());
}
