#pragma once

// Points the turret of a running game so that its rounds pass through the
// middle of a jet: the tests that need a hit, through the real aim and fire.

#include "Aircraft.h"
#include "FireUnit.h"
#include "TorvelApp.h"
#include "TurretAim.h"

#include <TestEvents.h>

#include <irrlicht.h>

#include <cmath>

namespace GunsOnJet {

// Turns the turret and elevates the guns; returns how far the line of fire
// passes from the middle of the jet's box, in units.
inline irr::f32 aim(FireUnit& unit, const Aircraft& jet)
{
    using namespace irr;
    const core::vector3df centre = jet.getNode()->getTransformedBoundingBox().getCenter();
    const f32 yaw = std::atan2(centre.X, centre.Z) * core::RADTODEG;
    const f32 rise = std::atan2(centre.Y, std::hypot(centre.X, centre.Z)) * core::RADTODEG;
    // The camera looks slightly down the guns' axis: search round the guess.
    f32 nearest = -1.0f;
    core::vector3df best;
    for (f32 dy = -1.0f; dy <= 1.0f; dy += 0.02f)
        for (f32 dp = -3.0f; dp <= 1.0f; dp += 0.02f) {
            unit.getTurretBase()->setRotation(core::vector3df(0, yaw + dy, 0));
            unit.getGuns()->setRotation(core::vector3df(-rise + dp, 0, 0));
            unit.getTurretBase()->updateAbsolutePosition();
            unit.getGuns()->updateAbsolutePosition();
            const core::matrix4& guns = unit.getGuns()->getAbsoluteTransformation();
            core::vector3df eye(0, 1.75f, 0), target(0, 0, 100);
            guns.transformVect(eye);
            guns.transformVect(target);
            const f32 miss = TurretAim::shotLine(eye, target).getClosestPoint(centre).getDistanceFrom(centre);
            if (nearest < 0 || miss < nearest) {
                nearest = miss;
                best = core::vector3df(-rise + dp, yaw + dy, 0);
            }
        }
    unit.getTurretBase()->setRotation(core::vector3df(0, best.Y, 0));
    unit.getGuns()->setRotation(core::vector3df(best.X, 0, 0));
    return nearest;
}

// Fires bursts at the jet until one sets it burning, aiming anew before
// every pass of the loop: the game reads the pointer, which other tests'
// windows on the same display may move. `step` makes one pass. Stops at the
// pass of the hit, with the trigger let go; returns the bursts begun, 0 when
// five of them all missed.
template <typename Step>
int shootDown(TorvelApp& app, const Aircraft& jet, Step step)
{
    for (int burst = 1; burst <= 5; ++burst) {
        app.OnEvent(TestEvents::joystick(0, 0, 1));
        for (int i = 0; i < 20 && jet.isAlive(); ++i) {
            aim(app.getFireUnit(), jet);
            step();
        }
        app.OnEvent(TestEvents::joystick(0, 0, 0));
        if (!jet.isAlive())
            return burst;
        step();
    }
    return 0;
}

} // namespace GunsOnJet
