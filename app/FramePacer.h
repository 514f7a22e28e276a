#pragma once

#include <cstdint>

// Holds the frame loop to a steady rate by sleeping, where the driver does
// not make it wait for the display: otherwise the loop draws frames as fast
// as it can, on every core, though the display shows no more of them.
//
// A rule on times alone: told when each frame ends, it says how long to
// sleep before the next one begins. Frames are due one period apart; a frame
// that ends early sleeps until its successor is due, and one that ends late
// does not sleep. After a frame later than a whole period the schedule starts
// afresh from it, so that no burst of frames follows to catch up.
class FramePacer {
public:
    static constexpr std::int64_t SIXTY_A_SECOND_US = 16667;  // period for 60 frames a second

    explicit FramePacer(std::int64_t periodUs = SIXTY_A_SECOND_US);

    // nowUs: a steady clock in microseconds when a frame has ended. Returns
    // the microseconds to sleep before beginning the next one.
    std::int64_t sleepAfterFrame(std::int64_t nowUs);

private:
    std::int64_t periodUs;   // time from one frame's start to the next's
    std::int64_t nextUs;     // when the next frame is due to begin
    bool started;            // a frame has ended before
};
