#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

#include <vector>

#include "RaidWaves.h"

// One aircraft of a raid and the rules of its kind: where it flies at each
// moment, how many hits bring it down, and when it attacks the gun.
//
// Every path crosses the sky past the gun at the origin along a heading; the
// distance along it (the track, negative before the gun) grows at the
// aircraft's speed from the moment it enters.
// - A fighter passes straight and level at up to 500 units to the side.
// - A bomber, slower and higher, passes almost over the gun and lets go a
//   stick of four bombs timed to fall across it.
// - An attacker comes in low from further out, dives at the gun, fires its
//   cannon within range, then pulls up and leaves; the run itself damages
//   the gun at its end unless the attacker is down by then.
class RaidCraft {
public:
    enum Kind { Fighter, Bomber, Attacker, KindCount };

    // Four draws in [0, 1] that make one path.
    struct Draws {
        irr::f32 heading;
        irr::f32 offset;
        irr::f32 altitude;
        irr::f32 speed;
    };

    static constexpr irr::u32 bombsPerStick = 4;
    static constexpr irr::f32 bombGravity = 40.0f;       // units per second squared
    static constexpr irr::u32 hitInterval = 300;         // ms: one burst counts as one hit
    static constexpr irr::f32 fireFrom = -1000.0f;       // the attacker's cannon, by track
    static constexpr irr::f32 fireTo = -450.0f;
    static constexpr irr::u32 cannonInterval = 100;      // ms between its shots
    static constexpr irr::f32 runDamage = 8.0f;          // an attacker's run, at strength 1

    static irr::u32 hitsToDown(Kind kind);
    // The radius about its position that a round must pass within.
    static irr::f32 hitRadius(Kind kind);

    RaidCraft(Kind kind, const RaidWaves::Wave& wave, const Draws& draws, irr::u32 start);

    Kind getKind() const { return kind; }
    irr::u32 getStart() const { return start; }
    irr::u32 getFlightTime() const { return flightTime; }
    irr::f32 getSpeed() const { return speed; }
    irr::f32 getAttackStrength() const { return strength; }
    // Unit vector of its heading in the ground plane.
    const irr::core::vector3df& getDirection() const { return direction; }

    // Distance along the track at game time now.
    irr::f32 trackAt(irr::u32 now) const;
    irr::core::vector3df positionAt(irr::u32 now) const;
    // Its nose's direction at now: level, or down in a dive, up pulling out.
    irr::core::vector3df headingAt(irr::u32 now) const;
    bool hasLeft(irr::u32 now) const;

    // Whether the round's line passes within its radius at now.
    bool isCrossedBy(const irr::core::line3df& shot, irr::u32 now) const;
    // Counts a hit at now unless one was counted less than hitInterval ago
    // (the same burst). True when this hit counted.
    bool takeHit(irr::u32 now);
    irr::u32 getHits() const { return hits; }
    bool isDown() const { return hits >= hitsToDown(kind); }

    // A bomber's release times, from the first bomb; empty for other kinds.
    const std::vector<irr::u32>& getBombTimes() const { return bombTimes; }
    // Whether an attacker's cannon is within range at now.
    bool isFiring(irr::u32 now) const;
    // The moment an attacker's run ends and strikes the gun; 0 for other kinds.
    irr::u32 getRunEnd() const { return runEnd; }

private:
    irr::f32 altitudeAt(irr::f32 track) const;

    Kind kind;
    irr::u32 start;                     // game time it entered the sky
    irr::f32 speed;                     // units per second along the track
    irr::f32 halfLength;                // the track runs from -halfLength to +halfLength
    irr::u32 flightTime;                // ms from entering to leaving
    irr::core::vector3df direction;     // heading, unit, level
    irr::core::vector3df side;          // offset from the gun across the heading
    irr::f32 altitude;                  // level flight's height; an attacker's cruise
    irr::f32 strength;                  // the wave's attack strength
    irr::u32 hits;                      // hits taken
    bool everHit;                       // lastHit holds a time
    irr::u32 lastHit;                   // game time of the last hit counted
    std::vector<irr::u32> bombTimes;    // a bomber's releases
    irr::u32 runEnd;                    // an attacker's strike on the gun
};
