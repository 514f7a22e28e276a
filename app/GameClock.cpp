#include "GameClock.h"

using namespace irr;

void GameClock::pause(u32 real)
{
    if (paused)
        return;
    paused = true;
    pausedAt = real;
}

void GameClock::resume(u32 real)
{
    if (!paused)
        return;
    paused = false;
    // Wrapping subtraction: a pause across the real clock's wrap counts right.
    pausedTotal += real - pausedAt;
}
