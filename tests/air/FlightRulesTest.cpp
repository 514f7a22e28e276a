#include "FlightRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using irr::f32;
using irr::u32;
using irr::core::line3df;
using irr::core::vector3df;

namespace {

// Horizontal distance of the origin from the infinite line through the path.
f32 groundDistanceFromOrigin(const line3df& path)
{
    const f32 dx = path.end.X - path.start.X;
    const f32 dz = path.end.Z - path.start.Z;
    const f32 cross = path.start.X * dz - path.start.Z * dx;
    return std::fabs(cross) / std::sqrt(dx * dx + dz * dz);
}

}

TEST(FlightRulesTest, HeadingFollowsTheGroundTrack)
{
    const vector3df origin(0, 0, 0);
    struct Case { vector3df direction; double angle; };
    const Case cases[] = {
        {{1, 0, 0}, 0.0},    {{0, 0, 1}, 90.0},  {{-1, 0, 0}, 180.0}, {{0, 0, -1}, 270.0},
        {{-1, 0, 1}, 135.0}, {{1, 0, -1}, 315.0}, {{1, 0, 1}, 45.0},  {{-1, 0, -1}, 225.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(FlightRules::headingAngle(origin, c.direction), c.angle, 1e-4)
            << c.direction.X << ", " << c.direction.Z;
        // Only the direction counts, not where the path lies or how long it is.
        const vector3df from(-300, 120, 77);
        EXPECT_NEAR(FlightRules::headingAngle(from, from + c.direction * 2500.0f), c.angle, 1e-3);
    }
    // Climbing does not change the heading of the ground track.
    EXPECT_NEAR(FlightRules::headingAngle(origin, vector3df(0, 5, 1)), 90.0, 1e-4);
}

TEST(FlightRulesTest, VerticalOrEmptyPathHeadsAlongX)
{
    EXPECT_EQ(FlightRules::headingAngle(vector3df(0, 0, 0), vector3df(0, 100, 0)), 0.0);
    EXPECT_EQ(FlightRules::headingAngle(vector3df(5, 500, 5), vector3df(5, 50, 5)), 0.0);
    EXPECT_EQ(FlightRules::headingAngle(vector3df(7, 8, 9), vector3df(7, 8, 9)), 0.0);
}

TEST(FlightRulesTest, FlybyWindowOfAThirtySecondFlight)
{
    const u32 start = 100000;
    EXPECT_FALSE(FlightRules::inFlybyWindow(start, start, 30000));
    EXPECT_FALSE(FlightRules::inFlybyWindow(start + 11000, start, 30000));
    EXPECT_TRUE(FlightRules::inFlybyWindow(start + 11001, start, 30000));
    EXPECT_TRUE(FlightRules::inFlybyWindow(start + 13000, start, 30000));
    EXPECT_TRUE(FlightRules::inFlybyWindow(start + 14999, start, 30000));
    EXPECT_FALSE(FlightRules::inFlybyWindow(start + 15000, start, 30000));
    EXPECT_FALSE(FlightRules::inFlybyWindow(start + 29000, start, 30000));
    // A clock read from before the start is far in the future in wrapping terms.
    EXPECT_FALSE(FlightRules::inFlybyWindow(start - 1, start, 30000));
}

TEST(FlightRulesTest, FlybyWindowAcrossTheClockWrap)
{
    const u32 start = 0xFFFFF000u;   // 4096 ms before the real clock wraps
    EXPECT_TRUE(FlightRules::inFlybyWindow(start + 12000u, start, 30000));
    EXPECT_FALSE(FlightRules::inFlybyWindow(start + 11000u, start, 30000));
    EXPECT_FALSE(FlightRules::inFlybyWindow(start + 15000u, start, 30000));
}

TEST(FlightRulesTest, ShortFlightsHaveNoFlybyWindowOrAnEarlyOne)
{
    // Below 8000 ms the lower edge wraps to near 2^32: the window never opens.
    for (u32 flightTime : {0u, 1u, 4000u, 7998u, 7999u}) {
        for (u32 elapsed = 0; elapsed < 20000; elapsed += 7)
            ASSERT_FALSE(FlightRules::inFlybyWindow(5000 + elapsed, 5000, flightTime))
                << flightTime << " ms flight, " << elapsed << " ms in";
    }
    for (u32 flightTime : {8000u, 8001u}) {
        EXPECT_FALSE(FlightRules::inFlybyWindow(5000, 5000, flightTime));
        EXPECT_TRUE(FlightRules::inFlybyWindow(5001, 5000, flightTime));
        EXPECT_TRUE(FlightRules::inFlybyWindow(5000 + 3999, 5000, flightTime));
        EXPECT_FALSE(FlightRules::inFlybyWindow(5000 + 4000, 5000, flightTime));
    }
}

TEST(FlightRulesTest, FlightTimeFromTheFourthDraw)
{
    EXPECT_EQ(FlightRules::flightTimeFromDraw(0.0f), 30000u);
    EXPECT_EQ(FlightRules::flightTimeFromDraw(0.5f), 37500u);
    EXPECT_EQ(FlightRules::flightTimeFromDraw(1.0f), 45000u);
    // Truncated toward zero, never rounded up.
    EXPECT_EQ(FlightRules::flightTimeFromDraw(0.99999994f), 44999u);
    EXPECT_EQ(FlightRules::flightTimeFromDraw(0.0001f), 30001u);
}

TEST(FlightRulesTest, PathAlongXAtTheLowestDraws)
{
    const line3df path = FlightRules::pathFromDraws(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(path.start, vector3df(-2000, 50, 0));
    EXPECT_EQ(path.end, vector3df(2000, 50, 0));

    // Heading +X: the track passes the turret on the -Z side.
    const line3df offset = FlightRules::pathFromDraws(0.0f, 1.0f, 1.0f);
    EXPECT_EQ(offset.start, vector3df(-2000, 550, -500));
    EXPECT_EQ(offset.end, vector3df(2000, 550, -500));
}

TEST(FlightRulesTest, PathAlongZAtAQuarterTurn)
{
    const line3df path = FlightRules::pathFromDraws(0.25f, 0.5f, 0.5f);
    EXPECT_NEAR(path.start.X, 250.0f, 1e-3f);
    EXPECT_NEAR(path.start.Z, -2000.0f, 1e-3f);
    EXPECT_NEAR(path.end.X, 250.0f, 1e-3f);
    EXPECT_NEAR(path.end.Z, 2000.0f, 1e-3f);
    EXPECT_EQ(path.start.Y, 300.0f);
    EXPECT_EQ(path.end.Y, 300.0f);
    EXPECT_NEAR(FlightRules::headingAngle(path.start, path.end), 90.0, 1e-3);
}

TEST(FlightRulesTest, EveryDrawGivesALevelPathPastTheTurret)
{
    std::mt19937 generator(20261208u);
    std::uniform_real_distribution<f32> draw(0.0f, 1.0f);
    for (int i = 0; i < 20000; ++i) {
        const f32 u1 = draw(generator), u2 = draw(generator), u3 = draw(generator), u4 = draw(generator);
        const line3df path = FlightRules::pathFromDraws(u1, u2, u3);
        const u32 flightTime = FlightRules::flightTimeFromDraw(u4);

        ASSERT_NEAR(path.getLength(), 4000.0f, 0.01f) << "draw " << i;
        ASSERT_EQ(path.start.Y, path.end.Y) << "draw " << i;
        ASSERT_GE(path.start.Y, 50.0f);
        ASSERT_LE(path.start.Y, 550.0f);
        ASSERT_NEAR(path.start.Y, u3 * 500.0f + 50.0f, 1e-3f);

        // The middle of the path is the point of the track nearest the turret.
        const vector3df middle = path.getMiddle();
        const f32 middleDistance = std::sqrt(middle.X * middle.X + middle.Z * middle.Z);
        ASSERT_NEAR(middleDistance, u2 * 500.0f, 0.01f) << "draw " << i;
        ASSERT_NEAR(groundDistanceFromOrigin(path), u2 * 500.0f, 0.05f) << "draw " << i;
        ASSERT_LE(middleDistance, 500.01f);

        // The jet flies the heading it drew.
        const double heading = FlightRules::headingAngle(path.start, path.end);
        double turn = std::fabs(heading - u1 * 360.0);
        turn = std::fmin(turn, 360.0 - turn);
        ASSERT_LT(turn, 0.01) << "draw " << i;

        ASSERT_GE(flightTime, 30000u);
        ASSERT_LE(flightTime, 45000u);
    }
}

TEST(FlightRulesTest, FlightOverAndPositionOnTheRealClock)
{
    const line3df path(vector3df(-2000, 100, 0), vector3df(2000, 100, 0));
    const u32 start = 0xFFFFC000u;   // the flight crosses the wrap of the clock
    EXPECT_EQ(FlightRules::positionAt(path, 40000, start, start), path.start);
    EXPECT_FALSE(FlightRules::flightOver(start, start, 40000));

    const vector3df middle = FlightRules::positionAt(path, 40000, start, start + 20000u);
    EXPECT_NEAR(middle.X, 0.0f, 1e-2f);
    EXPECT_EQ(middle.Y, 100.0f);
    EXPECT_FALSE(FlightRules::flightOver(start + 39999u, start, 40000));

    EXPECT_TRUE(FlightRules::flightOver(start + 40000u, start, 40000));
    EXPECT_EQ(FlightRules::positionAt(path, 40000, start, start + 40000u), path.end);
    EXPECT_EQ(FlightRules::positionAt(path, 40000, start, start + 90000u), path.end);
    // A flight of no time is over at once and never divides by zero.
    EXPECT_EQ(FlightRules::positionAt(path, 0, start, start), path.end);
}

TEST(FlightRulesTest, SpawnComesStrictlyAfterTheInterval)
{
    EXPECT_FALSE(FlightRules::spawnDue(1000 + 45000, 1000));
    EXPECT_TRUE(FlightRules::spawnDue(1000 + 45001, 1000));
    // start() dates the last spawn 40000 ms back: the first jet comes just after 5000 ms.
    const u32 startedAt = 12345;
    const u32 last = startedAt - FlightRules::startLead;
    EXPECT_FALSE(FlightRules::spawnDue(startedAt + 5000, last));
    EXPECT_TRUE(FlightRules::spawnDue(startedAt + 5001, last));
    // A start right after the clock began dates the last spawn before the wrap.
    const u32 early = 100;
    EXPECT_FALSE(FlightRules::spawnDue(early + 5000, early - FlightRules::startLead));
    EXPECT_TRUE(FlightRules::spawnDue(early + 5001, early - FlightRules::startLead));
}

TEST(FlightRulesTest, HitScoresThousandPlusDistance)
{
    EXPECT_EQ(FlightRules::pointsAfterHit(0, vector3df(1500.4f, 0, 0)), 2500u);
    EXPECT_EQ(FlightRules::pointsAfterHit(0, vector3df(0, 300, 400)), 1500u);
    EXPECT_EQ(FlightRules::pointsAfterHit(2500, vector3df(0, -300, -400)), 4000u);
    EXPECT_EQ(FlightRules::pointsAfterHit(0, vector3df(0, 0, 999.9f)), 1999u);
    EXPECT_EQ(FlightRules::pointsAfterHit(7, vector3df(0, 0, 0)), 1007u);
}
