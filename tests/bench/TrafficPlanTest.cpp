#include "TrafficPlan.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "EngineContext.h"
#include "FlightRules.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <cmath>

using irr::core::vector3df;

namespace {

// A point at the given angles from a view along +Z: to the right, then up.
vector3df pointAt(float rightDegrees, float upDegrees)
{
    const float distance = 1000.0f;
    return vector3df(std::tan(rightDegrees * irr::core::DEGTORAD) * distance,
                     std::tan(upDegrees * irr::core::DEGTORAD) * distance, distance);
}

} // namespace

TEST(TrafficPlan, ViewIsLimitedSidewaysUpwardsAndToTheFront)
{
    const vector3df ahead(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(TrafficPlan::inView(ahead, pointAt(0.0f, 0.0f)));
    EXPECT_TRUE(TrafficPlan::inView(ahead, pointAt(-40.0f, 20.0f)));
    EXPECT_FALSE(TrafficPlan::inView(ahead, pointAt(50.0f, 0.0f)));
    EXPECT_FALSE(TrafficPlan::inView(ahead, pointAt(0.0f, -32.0f)));
    EXPECT_FALSE(TrafficPlan::inView(ahead, vector3df(0.0f, 0.0f, -1000.0f)));

    // Turned to +X and raised: a point straight ahead stays in view, one
    // that is only ahead along the world's Z does not.
    const vector3df raised = vector3df(1.0f, 1.0f, 0.0f).normalize();
    EXPECT_TRUE(TrafficPlan::inView(raised, vector3df(700.0f, 700.0f, 100.0f)));
    EXPECT_FALSE(TrafficPlan::inView(raised, vector3df(0.0f, 0.0f, 1000.0f)));

    // Straight up has no horizon to measure from.
    EXPECT_FALSE(TrafficPlan::inView(vector3df(0.0f, 1.0f, 0.0f), vector3df(0.0f, 1000.0f, 0.0f)));
}

TEST(TrafficPlan, OnlyAimsTheGunsCanTake)
{
    EXPECT_TRUE(TrafficPlan::reachable(vector3df(0.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(TrafficPlan::reachable(pointAt(0.0f, 84.0f)));
    EXPECT_FALSE(TrafficPlan::reachable(pointAt(0.0f, 86.0f)));
    EXPECT_FALSE(TrafficPlan::reachable(pointAt(0.0f, -6.0f)));
}

// The plan must draw the jets as the airspace does, or the benchmark would
// aim at empty sky. Needs a display: the airspace's jets are scene nodes.
TEST(TrafficPlan, PredictsTheJetsTheAirspaceLaunches)
{
    irr::IrrlichtDevice* device = getDevice();
    ASSERT_NE(device, nullptr);
    irr::IRandomizer& random = *device->getRandomizer();

    const TrafficPlan plan(random, 1, {9000, 14000, 19000}, 200000);
    EXPECT_EQ(plan.getJetsInView(), TrafficPlan::JETS);
    ASSERT_EQ(plan.getPaths().size(), TrafficPlan::JETS);
    EXPECT_TRUE(TrafficPlan::reachable(plan.getAim()));
    for (irr::u32 jet = 0; jet < TrafficPlan::JETS; ++jet)
        EXPECT_TRUE(TrafficPlan::inView(plan.getAim(), FlightRules::positionAt(
            plan.getPaths()[jet], plan.getFlightTimes()[jet], 0, 14000))) << "jet " << jet;

    random.reset(plan.getStartValue());
    Airspace airspace;
    airspace.start(1000000);
    for (irr::u32 time = 1005001; airspace.getAircraft().size() < TrafficPlan::JETS && time < 1300000; time += 45001)
        airspace.update(time);
    const auto& jets = airspace.getAircraft();
    ASSERT_EQ(jets.size(), TrafficPlan::JETS);
    for (irr::u32 jet = 0; jet < TrafficPlan::JETS; ++jet) {
        EXPECT_LT(jets[jet]->getPath().start.getDistanceFrom(plan.getPaths()[jet].start), 0.01f) << "jet " << jet;
        EXPECT_LT(jets[jet]->getPath().end.getDistanceFrom(plan.getPaths()[jet].end), 0.01f) << "jet " << jet;
        EXPECT_EQ(jets[jet]->getFlightTime(), plan.getFlightTimes()[jet]) << "jet " << jet;
    }
}
