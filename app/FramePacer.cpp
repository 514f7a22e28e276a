#include "FramePacer.h"

FramePacer::FramePacer(std::int64_t period) : periodUs(period), nextUs(0), started(false)
{
}

std::int64_t FramePacer::sleepAfterFrame(std::int64_t nowUs)
{
    // The first frame gives the schedule its start; a frame later than a
    // whole period starts it afresh: the next frame is due at once.
    if (!started || nowUs - nextUs >= periodUs) {
        started = true;
        nextUs = nowUs;
    }
    const std::int64_t sleepUs = nextUs > nowUs ? nextUs - nowUs : 0;
    nextUs += periodUs;
    return sleepUs;
}
