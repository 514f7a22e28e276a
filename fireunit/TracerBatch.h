#pragma once

#include <irrTypes.h>
#include <vector3d.h>

// The tracers of the rounds in flight: each round fired draws a short bright
// streak that leaves the muzzle of the gun that fired it and runs out along
// the line of sight, fading, gone after 0.3 s. Only for the eye: the hit
// test stays the instant shot line.
//
// The rounds live in a fixed ring, so firing allocates nothing; sixteen
// rounds a burst at one a frame leave at most about twenty alive at once.
// Times are game-clock milliseconds; ages are taken in wrapping arithmetic.
class TracerBatch {
public:
    static constexpr irr::u32 lifetime = 300;    // ms from the muzzle until the streak is gone
    static constexpr irr::f32 speed = 1500.0f;   // units per second
    static constexpr irr::f32 length = 60.0f;    // longest streak, units
    static constexpr irr::f32 headStart = 4.0f;  // units out of the muzzle at the moment of firing
    static constexpr irr::u32 capacity = 32;     // rounds kept; the oldest gives way

    enum class Gun { Left, Right };

    // The gun that fires the round with burstRounds still to come: the one
    // whose flash shows for it or showed in the frame before (right for 16
    // and 15, left for 14 and 13, and so on), eight rounds each.
    static Gun gunOfRound(irr::u32 burstRounds);
    // The muzzle of a gun in the guns' own frame, where its flash stands.
    static irr::core::vector3df muzzleOffset(Gun gun);

    struct Streak {
        irr::core::vector3df tail;  // nearer the guns
        irr::core::vector3df head;  // the round itself
        irr::f32 alpha;             // 1 when fired, falling to 0
    };

    // The streak of a round fired at firedAt from muzzle along direction (a
    // unit vector), as seen at now. False once it is gone.
    static bool streakAt(const irr::core::vector3df& muzzle, const irr::core::vector3df& direction,
                         irr::u32 firedAt, irr::u32 now, Streak& streak);

    TracerBatch();

    // A round leaves muzzle along direction (a unit vector) at now.
    void fire(const irr::core::vector3df& muzzle, const irr::core::vector3df& direction, irr::u32 now);
    // The streaks to draw at now, oldest first; returns how many were written.
    irr::u32 collect(irr::u32 now, Streak (&streaks)[capacity]) const;
    void clear();

private:
    struct Round {
        irr::core::vector3df muzzle;     // where it left the gun
        irr::core::vector3df direction;  // unit vector of its flight
        irr::u32 firedAt;                // game time it was fired
        bool used;                       // the slot holds a round
    };

    Round rounds[capacity];  // ring of the latest rounds
    irr::u32 next;           // slot the next round takes
};
