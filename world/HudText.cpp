#include "HudText.h"

using namespace irr;

core::stringw HudText::compose(bool reloading, const std::function<u32()>& roundsLeft,
                               u32 aircraftLeft, u32 points)
{
    return compose(reloading, 0, roundsLeft, aircraftLeft, points);
}

core::stringw HudText::compose(bool reloading, u32 reloadSeconds, const std::function<u32()>& roundsLeft,
                               u32 aircraftLeft, u32 points)
{
    // Built as an 8-bit text: the engine writes unsigned numbers in full there,
    // digits only, and the wide text the font draws is made from it in one go.
    core::stringc text("RNDS REMAIN: ");
    if (reloading) {
        text += "[RELOADING]";
        if (reloadSeconds > 0) {
            text += " ";
            text += core::stringc(reloadSeconds);
            text += " s";
        }
    }
    else
        text += core::stringc(roundsLeft());
    text += "\nAIRCFT REMAIN: ";
    text += core::stringc(aircraftLeft);
    text += "\nPOINTS: ";
    text += core::stringc(points);
    return core::stringw(text);
}
