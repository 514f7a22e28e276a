#include "RestingScreen.h"

#include <gtest/gtest.h>

namespace {

RestingScreen::Pass atRest(irr::u32 now)
{
    RestingScreen::Pass pass;
    pass.look.screenSize = irr::core::dimension2du(1366, 768);
    pass.look.overlay = 2;
    pass.now = now;
    return pass;
}

} // namespace

TEST(RestingScreen, AtRestOnlyTheFirstFrameAndOneASecondAreDrawn)
{
    RestingScreen screen;
    const irr::u32 start = 0xFFFFFE00u;  // the clock wraps within the second
    EXPECT_TRUE(screen.mustDraw(atRest(start)));
    int drawn = 0;
    for (irr::u32 t = 17; t < 3000; t += 17)
        drawn += screen.mustDraw(atRest(start + t)) ? 1 : 0;
    EXPECT_EQ(drawn, 2);  // at 1 s and 2 s, wrap or not
    EXPECT_EQ(screen.getFramesSkipped(), 176u - 2u);
}

TEST(RestingScreen, EveryChangeInputOrMovementDrawsItsFrameAtOnce)
{
    using Change = void (*)(RestingScreen::Pass&);
    const Change changes[] = {
        [](RestingScreen::Pass& p) { p.moving = true; },
        [](RestingScreen::Pass& p) { p.input = true; },
        [](RestingScreen::Pass& p) { p.pictureAsked = true; },
        [](RestingScreen::Pass& p) { p.look.baseRotation.Y = 0.5f; },
        [](RestingScreen::Pass& p) { p.look.gunsRotation.X = -3.0f; },
        [](RestingScreen::Pass& p) { p.look.screenSize.Width = 800; },
        [](RestingScreen::Pass& p) { p.look.hudRounds = 64; },
        [](RestingScreen::Pass& p) { p.look.hudAircraft = 5; },
        [](RestingScreen::Pass& p) { p.look.hudPoints = 1200; },
        [](RestingScreen::Pass& p) { p.look.overlay = 6; },
        [](RestingScreen::Pass& p) { p.look.reloading = true; },
    };
    for (std::size_t i = 0; i < sizeof changes / sizeof changes[0]; ++i) {
        RestingScreen screen;
        EXPECT_TRUE(screen.mustDraw(atRest(100)));
        EXPECT_FALSE(screen.mustDraw(atRest(117))) << "change " << i;
        RestingScreen::Pass pass = atRest(134);
        changes[i](pass);
        EXPECT_TRUE(screen.mustDraw(pass)) << "change " << i;
        // A new look is on screen from then on; a passing event or movement is over.
        RestingScreen::Pass after = atRest(151);
        after.look = pass.look;
        EXPECT_FALSE(screen.mustDraw(after)) << "change " << i;
    }
}
