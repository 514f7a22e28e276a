#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

// The rules of air traffic that need no engine: where a jet flies and how
// long it takes, which way it faces, when its fly-by sound may start, when a
// round spawns, and what a hit scores. Times are the game clock's, in
// milliseconds; every difference is taken in wrapping unsigned arithmetic,
// because the clock may wrap at any moment.
class FlightRules {
public:
    static constexpr irr::u32 aircraftPerRound = 5;
    static constexpr irr::u32 spawnInterval = 45000;   // a spawn comes strictly after this much time
    static constexpr irr::u32 startLead = 40000;       // start() dates the last spawn this far back
    static constexpr irr::f32 pathLength = 4000.0f;    // every path, end to end

    // The straight, level path a jet flies, from three random draws in [0, 1]:
    // heading, lateral offset from the turret (0 to 500) and altitude (50 to 550).
    static irr::core::line3df pathFromDraws(irr::f32 headingDraw, irr::f32 offsetDraw,
                                            irr::f32 altitudeDraw);
    // The time for the whole path, 30000 to 45000 ms, from a fourth draw.
    static irr::u32 flightTimeFromDraw(irr::f32 draw);

    // Heading in degrees in [0, 360) of the ground track from start to end:
    // 0 along +X, 90 along +Z. A vertical or zero-length path gives 0.
    static irr::f64 headingAngle(const irr::core::vector3df& start, const irr::core::vector3df& end);

    // Whether the fly-by sound may start: strictly inside the 4000 ms before
    // half the flight time has passed. Flight times below 8000 ms never open it.
    static bool inFlybyWindow(irr::u32 now, irr::u32 startTime, irr::u32 flightTime);

    // Whether the flight that began at startTime is over at now.
    static bool flightOver(irr::u32 now, irr::u32 startTime, irr::u32 flightTime);
    // Where a jet on path stands at now, flying at constant speed from startTime.
    static irr::core::vector3df positionAt(const irr::core::line3df& path, irr::u32 flightTime,
                                           irr::u32 startTime, irr::u32 now);

    // Whether a round that last spawned at lastSpawnTime is due for its next step.
    static bool spawnDue(irr::u32 now, irr::u32 lastSpawnTime);

    // The points after a hit on a jet at position: 1000 plus its distance from
    // the turret at the origin, added in single precision and truncated.
    static irr::u32 pointsAfterHit(irr::u32 points, const irr::core::vector3df& position);
};
