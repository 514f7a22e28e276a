#pragma once

#include <irrTypes.h>

// Cuts the game time into steps of 1/60 s, for the rules that advance by
// step: aiming and the rounds of a burst. Each frame asks how many steps have
// come due since the last; a fast frame may get none, a slow one several.
// After a stall (a window being dragged, a debugger) at most MAX_CATCH_UP
// steps are made up and the rest of the time is let go, so the turret never
// lurches through a long stretch at once.
//
// The count is exact in integers: a step is 1000 / 60 ms, kept as 1000
// sixtieths of a millisecond. The first step is due half a step after the
// first time seen, so frames at exactly 60 per second, whose times arrive
// 16 or 17 ms apart, get one step each.
class FixedStep {
public:
    static constexpr irr::u32 STEPS_PER_SECOND = 60;
    static constexpr irr::u32 MAX_CATCH_UP = 15;   // a quarter of a second

    // Steps due at game time now. The first call only sets the start.
    irr::u32 stepsDue(irr::u32 now);

    // The game time at which step `index` (0 = the first) of the latest
    // stepsDue fell due, to the millisecond: the frame runs its steps late,
    // but each keeps its own moment.
    irr::u32 stepTime(irr::u32 index) const;

private:
    bool started = false;   // a time has been seen
    irr::u32 last = 0;      // game time of the previous call
    irr::u32 owed = 0;      // time since the last step, in 1/60 ms
    irr::u32 due = 0;       // steps given by the latest stepsDue
};
