#include "RaidCraft.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace {

constexpr f32 pi = 3.14159265358979f;

// Each kind's own speed in units per second, before the wave's factor, and
// the length of its track.
constexpr f32 fighterSpeed = 115.0f;
constexpr f32 bomberSpeed = 65.0f;
constexpr f32 attackerSpeed = 140.0f;

f32 lerp(f32 a, f32 b, f32 t) { return a + (b - a) * std::clamp(t, 0.0f, 1.0f); }

// The attacker's profile, by track: cruise until diveStart, down to
// diveFloor by diveEnd, climb out to its cruise and 250 more by climbEnd.
constexpr f32 diveStart = -1300.0f;
constexpr f32 diveEnd = -400.0f;
constexpr f32 climbEnd = 900.0f;
constexpr f32 diveFloor = 35.0f;

}

u32 RaidCraft::hitsToDown(Kind kind)
{
    return kind == Bomber ? 3 : 1;
}

f32 RaidCraft::hitRadius(Kind kind)
{
    switch (kind) {
    case Bomber: return 18.0f;
    case Attacker: return 9.0f;
    default: return 10.0f;
    }
}

RaidCraft::RaidCraft(Kind craftKind, const RaidWaves::Wave& wave, const Draws& draws, u32 startTime)
    : kind(craftKind), start(startTime), strength(wave.attackStrength), hits(0), everHit(false),
      lastHit(0), runEnd(0)
{
    const f32 theta = draws.heading * 2.0f * pi;
    direction = core::vector3df(std::cos(theta), 0.0f, std::sin(theta));
    const core::vector3df across(direction.Z, 0.0f, -direction.X);
    const f32 band = lerp(wave.altitudeLow, wave.altitudeHigh, draws.altitude);
    const f32 pace = 0.85f + 0.3f * draws.speed;
    switch (kind) {
    case Fighter:
        speed = fighterSpeed * wave.speedFactor * pace;
        halfLength = 2000.0f;
        side = across * (draws.offset * 500.0f);
        altitude = band;
        break;
    case Bomber:
        speed = bomberSpeed * wave.speedFactor * pace;
        halfLength = 2000.0f;
        side = across * (draws.offset * 2.0f - 1.0f) * 40.0f;
        altitude = wave.altitudeHigh + 100.0f + 150.0f * draws.altitude;
        break;
    default:
        speed = attackerSpeed * wave.speedFactor * pace;
        halfLength = 2500.0f;
        side = across * (draws.offset * 2.0f - 1.0f) * 60.0f;
        altitude = std::max(60.0f, wave.altitudeLow * (0.6f + 0.4f * draws.altitude));
        break;
    }
    flightTime = static_cast<u32>(2.0f * halfLength / speed * 1000.0f);

    const auto timeAtTrack = [this](f32 track) {
        return start + static_cast<u32>(std::max(0.0f, (track + halfLength) / speed * 1000.0f));
    };
    if (kind == Bomber) {
        // Each bomb keeps the bomber's speed as it falls, so it lands this far
        // on from where it left; the stick is spread 30 units a bomb across the gun.
        const f32 fall = std::sqrt(2.0f * altitude / bombGravity);
        const f32 carry = speed * fall;
        for (u32 i = 0; i < bombsPerStick; ++i)
            bombTimes.push_back(timeAtTrack(-carry + (static_cast<f32>(i) - 1.5f) * 30.0f));
    } else if (kind == Attacker && strength > 0.0f) {
        runEnd = timeAtTrack(fireTo);
    }
}

f32 RaidCraft::trackAt(u32 now) const
{
    const s32 elapsed = static_cast<s32>(now - start);
    return -halfLength + speed * static_cast<f32>(elapsed) / 1000.0f;
}

f32 RaidCraft::altitudeAt(f32 track) const
{
    if (kind != Attacker)
        return altitude;
    if (track < diveStart)
        return altitude;
    if (track < diveEnd) {
        // Eased at both ends, as a pilot would push over and round out.
        const f32 t = (track - diveStart) / (diveEnd - diveStart);
        return lerp(altitude, diveFloor, t * t * (3.0f - 2.0f * t));
    }
    const f32 t = (track - diveEnd) / (climbEnd - diveEnd);
    return lerp(diveFloor, altitude + 250.0f, t * t);
}

core::vector3df RaidCraft::positionAt(u32 now) const
{
    const f32 track = trackAt(now);
    return direction * track + side + core::vector3df(0.0f, altitudeAt(track), 0.0f);
}

core::vector3df RaidCraft::headingAt(u32 now) const
{
    const f32 track = trackAt(now);
    const f32 climb = (altitudeAt(track + 5.0f) - altitudeAt(track - 5.0f)) / 10.0f;
    core::vector3df nose = direction + core::vector3df(0.0f, climb, 0.0f);
    return nose.normalize();
}

bool RaidCraft::hasLeft(u32 now) const
{
    return static_cast<s32>(now - start) > static_cast<s32>(flightTime);
}

bool RaidCraft::isCrossedBy(const core::line3df& shot, u32 now) const
{
    const core::vector3df where = positionAt(now);
    return shot.getClosestPoint(where).getDistanceFrom(where) <= hitRadius(kind);
}

bool RaidCraft::takeHit(u32 now)
{
    if (isDown() || (everHit && now - lastHit < hitInterval))
        return false;
    everHit = true;
    lastHit = now;
    ++hits;
    return true;
}

bool RaidCraft::isFiring(u32 now) const
{
    if (kind != Attacker || strength <= 0.0f || isDown())
        return false;
    const f32 track = trackAt(now);
    return track >= fireFrom && track < fireTo;
}
