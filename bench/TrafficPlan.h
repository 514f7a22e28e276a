#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

#include <vector>

namespace irr { class IRandomizer; }

// Picks the traffic for the benchmark: a fixed start value for the engine's
// randomizer under which the airspace's next five spawns fly where one fixed
// aim of the turret sees all five jets for the whole measurement, and, for
// each further round, another start value whose five jets that same aim
// sees. It draws the paths exactly as the airspace does (heading, offset,
// altitude, flight time per jet), so the caller can check the real jets
// against the plan.
class TrafficPlan {
public:
    static constexpr irr::u32 JETS = 5;   // of one round
    // Inside these angles from the aim a jet counts as seen; the camera shows
    // about 52 degrees either side and 36 up and down at 1366 x 768.
    static constexpr irr::f32 HALF_WIDTH_DEGREES = 45.0f;
    static constexpr irr::f32 HALF_HEIGHT_DEGREES = 28.0f;

    // Tries start values 1 to maxTries for each of that many rounds;
    // viewTimes are times since the start of each flight (ms) at which every
    // jet should be in view. The randomizer is left in an arbitrary state.
    TrafficPlan(irr::IRandomizer& random, irr::u32 rounds, const std::vector<irr::u32>& viewTimes, irr::s32 maxTries);

    // The jets' paths and flight times as drawn from one start value.
    static void drawTraffic(irr::IRandomizer& random, irr::s32 startValue,
                            std::vector<irr::core::line3df>& paths, std::vector<irr::u32>& flightTimes);
    // The aim that best centres every jet at every view time (ms into its flight).
    static irr::core::vector3df aimAtAll(const std::vector<irr::core::line3df>& paths,
                                         const std::vector<irr::u32>& flightTimes,
                                         const std::vector<irr::u32>& viewTimes);
    // Whether a point is inside the view of a camera at the origin looking
    // along aim, with the world's Y as its up.
    static bool inView(const irr::core::vector3df& aim, const irr::core::vector3df& point);
    // Whether the guns can point along aim: up to 85 degrees up, 5 down.
    static bool reachable(const irr::core::vector3df& aim);

    // The first round's start value, then each further round's.
    irr::s32 getStartValue() const { return startValues.front(); }
    const std::vector<irr::s32>& getStartValues() const { return startValues; }
    irr::u32 getJets() const { return static_cast<irr::u32>(startValues.size()) * JETS; }
    const irr::core::vector3df& getAim() const { return aim; }
    irr::u32 getJetsInView() const { return jetsInView; }
    const std::vector<irr::core::line3df>& getPaths() const { return paths; }
    const std::vector<irr::u32>& getFlightTimes() const { return flightTimes; }

private:
    // The jets seen along lookAlong at every view time.
    static irr::u32 countInView(const irr::core::vector3df& lookAlong, const std::vector<irr::u32>& viewTimes,
                                const std::vector<irr::core::line3df>& jetPaths,
                                const std::vector<irr::u32>& jetTimes);

    std::vector<irr::s32> startValues;          // best value found, one per round
    irr::core::vector3df aim;                   // unit vector the turret should look along
    irr::u32 jetsInView;                        // jets seen at every view time, of getJets()
    std::vector<irr::core::line3df> paths;      // one per jet, in spawn order
    std::vector<irr::u32> flightTimes;          // ms, one per jet
};
