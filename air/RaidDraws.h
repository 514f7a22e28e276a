#pragma once

#include <irrTypes.h>

#include <random>

// The raid's own random draws, apart from the round's: a Mersenne Twister
// started from the raid number, so that the same number gives the same
// raid on every machine. The round's randomizer is never touched.
class RaidDraws {
public:
    explicit RaidDraws(irr::u32 startValue) : generator(startValue) {}

    // A draw in [0, 1): the top 24 bits of the next output, which the
    // generator's definition fixes, unlike the standard distributions.
    irr::f32 next() { return static_cast<irr::f32>(generator() >> 8) * (1.0f / 16777216.0f); }
    // A whole number in [0, count), for count > 0.
    irr::u32 below(irr::u32 count) { return static_cast<irr::u32>(next() * static_cast<irr::f32>(count)) % count; }

private:
    std::mt19937 generator;
};
