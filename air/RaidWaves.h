#pragma once

#include <irrTypes.h>

#include <vector>

// The waves of an air raid, as data: the first lines are set by hand, and
// every wave past the last line grows from it by the rule below.
//
// Past the table, wave n is the last line with, for every wave beyond it:
// one fighter more; every second wave one bomber and one attacker more and
// one aircraft more at once (up to eight); the speed 5 % higher (up to
// 1.6 times); the attacks 0.2 harder.
class RaidWaves {
public:
    struct Wave {
        irr::u32 fighters;         // straight fast passes
        irr::u32 bombers;          // slow and high, each with a stick of bombs over the gun
        irr::u32 attackers;        // low dives at the gun with the cannon
        irr::u32 atOnce;           // most aircraft in the air together
        irr::f32 speedFactor;      // times each kind's own speed
        irr::f32 altitudeLow;      // the band the fighters fly in; bombers above it,
        irr::f32 altitudeHigh;     //   attackers below it
        irr::f32 attackStrength;   // times each attack's damage; 0: no attacks

        irr::u32 total() const { return fighters + bombers + attackers; }
    };

    // The lines set by hand, wave 1 first.
    static const std::vector<Wave>& table();
    // Wave number (1 = the first); 0 is taken as 1.
    static Wave wave(irr::u32 number);
};
