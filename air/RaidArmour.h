#pragma once

#include <irrTypes.h>

// The gun position's armour: 100 at the start of a raid, lost to bombs and
// attack runs, a quarter of what was lost given back between waves. At 0
// the position is lost and stays lost.
class RaidArmour {
public:
    static constexpr irr::u32 full = 100;

    void damage(irr::u32 amount) { armour = amount >= armour ? 0 : armour - amount; }
    // Between waves: a quarter of the lost armour, rounded down, comes back.
    void repair() { if (!isLost()) armour += (full - armour) / 4; }

    irr::u32 get() const { return armour; }
    bool isLost() const { return armour == 0; }

private:
    irr::u32 armour = full;
};
