#pragma once

#include <irrTypes.h>

// The game's time: the engine's real time less the time spent paused. It is
// read once per frame by the application and handed down, so every rule of
// the frame sees the same moment. With no pause it is the real time itself;
// like the real time it is unsigned 32-bit milliseconds and wraps.
class GameClock {
public:
    // The game time at real time `real`. While paused it stands at the
    // moment of the pause.
    irr::u32 now(irr::u32 real) const { return (paused ? pausedAt : real) - pausedTotal; }

    // Stops the clock at real time `real`; a second pause changes nothing.
    void pause(irr::u32 real);
    // Lets it run again from where it stood; without a pause nothing happens.
    void resume(irr::u32 real);
    bool isPaused() const { return paused; }
    irr::u32 getPausedTotal() const { return pausedTotal; }

private:
    bool paused = false;         // the clock stands still
    irr::u32 pausedAt = 0;       // real time the running pause began
    irr::u32 pausedTotal = 0;    // real time spent in pauses that have ended
};
