#include "TrafficPlan.h"

#include "FlightRules.h"

#include <IRandomizer.h>

#include <algorithm>
#include <cmath>

using namespace irr;

TrafficPlan::TrafficPlan(IRandomizer& random, u32 rounds, const std::vector<u32>& viewTimes, s32 maxTries)
    : startValues(1, 1), aim(0.0f, 0.0f, 1.0f), jetsInView(0)
{
    if (viewTimes.empty())
        return;
    // The first round: the aim that centres its jets.
    std::vector<core::line3df> tryPaths;
    std::vector<u32> tryTimes;
    for (s32 value = 1; value <= maxTries && jetsInView < JETS; ++value) {
        drawTraffic(random, value, tryPaths, tryTimes);

        const core::vector3df tryAim = aimAtAll(tryPaths, tryTimes, viewTimes);
        if (!reachable(tryAim))
            continue;
        const u32 seen = countInView(tryAim, viewTimes, tryPaths, tryTimes);
        if (seen > jetsInView) {
            jetsInView = seen;
            startValues.front() = value;
            aim = tryAim;
            paths = tryPaths;
            flightTimes = tryTimes;
        }
    }
    // Each further round: other jets (no value twice) in view of that aim.
    for (u32 round = 1; round < rounds; ++round) {
        u32 best = 0;
        s32 bestValue = 0;
        std::vector<core::line3df> bestPaths;
        std::vector<u32> bestTimes;
        for (s32 value = 1; value <= maxTries && best < JETS; ++value) {
            if (std::find(startValues.begin(), startValues.end(), value) != startValues.end())
                continue;
            drawTraffic(random, value, tryPaths, tryTimes);
            const u32 seen = countInView(aim, viewTimes, tryPaths, tryTimes);
            if (seen > best || bestValue == 0) {
                best = seen;
                bestValue = value;
                bestPaths = tryPaths;
                bestTimes = tryTimes;
            }
        }
        startValues.push_back(bestValue);
        jetsInView += best;
        paths.insert(paths.end(), bestPaths.begin(), bestPaths.end());
        flightTimes.insert(flightTimes.end(), bestTimes.begin(), bestTimes.end());
    }
}

u32 TrafficPlan::countInView(const core::vector3df& lookAlong, const std::vector<u32>& viewTimes,
                             const std::vector<core::line3df>& roundPaths, const std::vector<u32>& roundTimes)
{
    u32 seen = 0;
    for (std::size_t jet = 0; jet < roundPaths.size(); ++jet) {
        bool always = true;
        for (u32 time : viewTimes)
            always = always && inView(lookAlong, FlightRules::positionAt(roundPaths[jet], roundTimes[jet], 0, time));
        seen += always ? 1 : 0;
    }
    return seen;
}

core::vector3df TrafficPlan::aimAtAll(const std::vector<core::line3df>& jetPaths,
                                     const std::vector<u32>& jetTimes, const std::vector<u32>& viewTimes)
{
    // The middle of the smallest arc of headings that holds every jet at
    // every view time, and the middle of their elevations.
    std::vector<f32> headings;
    f32 lowest = 90.0f;
    f32 highest = -90.0f;
    for (std::size_t jet = 0; jet < jetPaths.size(); ++jet) {
        for (u32 time : viewTimes) {
            core::vector3df direction = FlightRules::positionAt(jetPaths[jet], jetTimes[jet], 0, time);
            direction.normalize();
            headings.push_back(std::atan2(direction.X, direction.Z) * core::RADTODEG);
            const f32 elevation = std::asin(core::clamp(direction.Y, -1.0f, 1.0f)) * core::RADTODEG;
            lowest = std::min(lowest, elevation);
            highest = std::max(highest, elevation);
        }
    }
    if (headings.empty())
        return core::vector3df(0.0f, 0.0f, 1.0f);
    std::sort(headings.begin(), headings.end());
    // The arc lies opposite the widest gap between neighbouring headings.
    f32 widestGap = headings.front() + 360.0f - headings.back();
    f32 arcStart = headings.front();
    f32 arcEnd = headings.back();
    for (std::size_t i = 1; i < headings.size(); ++i) {
        const f32 gap = headings[i] - headings[i - 1];
        if (gap > widestGap) {
            widestGap = gap;
            arcStart = headings[i];
            arcEnd = headings[i - 1] + 360.0f;
        }
    }
    const f32 heading = (arcStart + arcEnd) / 2.0f * core::DEGTORAD;
    const f32 elevation = (lowest + highest) / 2.0f * core::DEGTORAD;
    return core::vector3df(std::cos(elevation) * std::sin(heading), std::sin(elevation),
                           std::cos(elevation) * std::cos(heading));
}

void TrafficPlan::drawTraffic(IRandomizer& random, s32 value, std::vector<core::line3df>& jetPaths,
                              std::vector<u32>& jetTimes)
{
    random.reset(value);
    jetPaths.clear();
    jetTimes.clear();
    for (u32 jet = 0; jet < JETS; ++jet) {
        // The order of the airspace's own draws for one spawn.
        const f32 heading = random.frand();
        const f32 offset = random.frand();
        const f32 altitude = random.frand();
        const f32 time = random.frand();
        jetPaths.push_back(FlightRules::pathFromDraws(heading, offset, altitude));
        jetTimes.push_back(FlightRules::flightTimeFromDraw(time));
    }
}

bool TrafficPlan::inView(const core::vector3df& lookAlong, const core::vector3df& point)
{
    core::vector3df forward = lookAlong;
    forward.normalize();
    core::vector3df right = core::vector3df(0.0f, 1.0f, 0.0f).crossProduct(forward);
    if (right.getLengthSQ() == 0.0f)
        return false;   // looking straight up or down: no horizon to measure from
    right.normalize();
    const core::vector3df up = forward.crossProduct(right);

    const f32 depth = point.dotProduct(forward);
    if (depth <= 0.0f)
        return false;
    const f32 across = std::fabs(point.dotProduct(right)) / depth;
    const f32 upward = std::fabs(point.dotProduct(up)) / depth;
    return across < std::tan(HALF_WIDTH_DEGREES * core::DEGTORAD)
        && upward < std::tan(HALF_HEIGHT_DEGREES * core::DEGTORAD);
}

bool TrafficPlan::reachable(const core::vector3df& lookAlong)
{
    core::vector3df direction = lookAlong;
    direction.normalize();
    const f32 elevation = std::asin(core::clamp(direction.Y, -1.0f, 1.0f)) * core::RADTODEG;
    return elevation >= -5.0f && elevation <= 85.0f;
}
