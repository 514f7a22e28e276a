#include "FixedStep.h"

using namespace irr;

namespace {
const u32 unitsPerStep = 1000;   // 1/60 s in 1/60 ms
}

u32 FixedStep::stepsDue(u32 now)
{
    if (!started) {
        started = true;
        last = now;
        owed = unitsPerStep / 2;
        due = 0;
        return 0;
    }
    // Wrapping difference; a clock that went back counts as no time.
    const u32 elapsed = now - last;
    last = now;
    if (static_cast<s32>(elapsed) <= 0) {
        due = 0;
        return 0;
    }
    const u32 maxOwed = (MAX_CATCH_UP + 1) * unitsPerStep;
    const u64 total = static_cast<u64>(owed) + static_cast<u64>(elapsed) * STEPS_PER_SECOND;
    owed = total > maxOwed ? maxOwed - unitsPerStep / 2 : static_cast<u32>(total);
    u32 steps = owed / unitsPerStep;
    if (steps > MAX_CATCH_UP)
        steps = MAX_CATCH_UP;
    owed -= steps * unitsPerStep;
    due = steps;
    return steps;
}

u32 FixedStep::stepTime(u32 index) const
{
    const u32 later = due > index ? due - 1 - index : 0;
    return last - (owed + later * unitsPerStep + STEPS_PER_SECOND / 2) / STEPS_PER_SECOND;
}
