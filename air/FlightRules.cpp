#include "FlightRules.h"

#include <vector2d.h>

#include <cmath>

using irr::f32;
using irr::f64;
using irr::u32;
using irr::core::line3df;
using irr::core::vector2df;
using irr::core::vector3df;

line3df FlightRules::pathFromDraws(f32 headingDraw, f32 offsetDraw, f32 altitudeDraw)
{
    const f32 degrees = headingDraw * 360.0f;
    const f64 theta = static_cast<f64>(degrees) * 0.017453292519943295;
    vector2df ground(static_cast<f32>(std::cos(theta)), static_cast<f32>(std::sin(theta)));
    ground.normalize();
    const f32 c = ground.X;
    const f32 s = ground.Y;

    const f32 offset = offsetDraw * 500.0f;
    const f32 altitude = altitudeDraw * 500.0f + 50.0f;
    const f32 half = pathLength / 2.0f;

    // The midpoint lies at offset * (s, 0, -c): beside the turret, across the track.
    const vector3df start(s * offset - c * half, altitude, s * -half + -c * offset);
    const vector3df end(c * half + s * offset, altitude, s * half + -c * offset);
    return line3df(start, end);
}

u32 FlightRules::flightTimeFromDraw(f32 draw)
{
    const f32 extra = draw * 15000.0f;
    return static_cast<u32>(extra) + 30000u;
}

f64 FlightRules::headingAngle(const vector3df& start, const vector3df& end)
{
    vector3df direction = end - start;
    direction.normalize();
    return vector2df(direction.X, direction.Z).getAngleTrig();
}

bool FlightRules::inFlybyWindow(u32 now, u32 startTime, u32 flightTime)
{
    const u32 elapsed = now - startTime;
    const u32 half = flightTime / 2;
    const u32 low = half - 4000u;
    return elapsed > low && elapsed < half;
}

bool FlightRules::flightOver(u32 now, u32 startTime, u32 flightTime)
{
    return now - startTime >= flightTime;
}

vector3df FlightRules::positionAt(const line3df& path, u32 flightTime, u32 startTime, u32 now)
{
    if (flightOver(now, startTime, flightTime))
        return path.end;
    const f32 share = static_cast<f32>(now - startTime) / static_cast<f32>(flightTime);
    return path.start + (path.end - path.start) * share;
}

bool FlightRules::spawnDue(u32 now, u32 lastSpawnTime)
{
    return now - lastSpawnTime > spawnInterval;
}

u32 FlightRules::pointsAfterHit(u32 points, const vector3df& position)
{
    const f32 distance = std::sqrt(position.X * position.X + position.Y * position.Y
                                   + position.Z * position.Z);
    return static_cast<u32>((distance + 1000.0f) + static_cast<f32>(points));
}
