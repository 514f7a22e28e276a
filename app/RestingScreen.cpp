#include "RestingScreen.h"

bool RestingScreen::Look::operator==(const Look& other) const
{
    return baseRotation == other.baseRotation && gunsRotation == other.gunsRotation
           && screenSize == other.screenSize && hudRounds == other.hudRounds
           && hudAircraft == other.hudAircraft && hudPoints == other.hudPoints && overlay == other.overlay
           && reloading == other.reloading;
}

RestingScreen::RestingScreen() : drawnOnce(false), shownAt(0), framesSkipped(0)
{
}

bool RestingScreen::mustDraw(const Pass& pass)
{
    // Differences of times wrap with the 32-bit clock.
    const bool stale = pass.now - shownAt >= refreshMs;
    const bool draw = !drawnOnce || pass.moving || pass.input || pass.pictureAsked || stale || pass.look != shown;
    if (draw) {
        drawnOnce = true;
        shown = pass.look;
        shownAt = pass.now;
    } else {
        ++framesSkipped;
    }
    return draw;
}
