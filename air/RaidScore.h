#pragma once

#include <irrTypes.h>
#include <vector3d.h>

// The raid's points and its multiplier. An aircraft downed scores as in a
// round, 1000 plus its distance from the gun, times the multiplier; each
// burst that hits raises the multiplier by one up to five, and a burst that
// hits nothing puts it back to one. A bomb shot down scores a flat 250, and
// a wave cleared without damage 1000 times its number.
class RaidScore {
public:
    static constexpr irr::u32 maxMultiplier = 5;

    // What the downing of an aircraft at position added.
    irr::u32 downed(const irr::core::vector3df& position);
    void bombShot();
    void waveCleared(irr::u32 wave, bool clean);
    void burstEnded(bool hit);

    irr::u32 getPoints() const { return points; }
    irr::u32 getMultiplier() const { return multiplier; }

private:
    irr::u32 points = 0;       // the raid's points
    irr::u32 multiplier = 1;   // x1 to x5
};
