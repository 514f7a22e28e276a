#pragma once

#include <irrString.h>
#include <irrTypes.h>

#include <functional>

// The three lines of the HUD text: rounds left (or the reloading notice),
// jets still to come and points. Kept apart from drawing so that the wording
// and the numbers can be checked without a window.
class HudText {
public:
    // The rounds are fetched through roundsLeft only when the guns are not
    // reloading: while they reload the count means nothing to the player.
    static irr::core::stringw compose(bool reloading,
                                      const std::function<irr::u32()>& roundsLeft,
                                      irr::u32 aircraftLeft, irr::u32 points);
    // The same, the reloading notice followed by the seconds the reload has
    // still to run ("[RELOADING] 14 s"); no seconds when reloadSeconds is 0.
    static irr::core::stringw compose(bool reloading, irr::u32 reloadSeconds,
                                      const std::function<irr::u32()>& roundsLeft,
                                      irr::u32 aircraftLeft, irr::u32 points);
};
