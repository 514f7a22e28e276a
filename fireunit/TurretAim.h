#pragma once

#include <dimension2d.h>
#include <irrTypes.h>
#include <line3d.h>
#include <position2d.h>
#include <vector3d.h>

// The aiming rules of the turret, free of the engine's device: how a
// joystick axis becomes a turn rate, how the rates are smoothed, the limits
// of direction and elevation, the line a round travels along and where the
// crosshair sits on the screen.
class TurretAim {
public:
    // Elevation limits in degrees of the guns' X angle: 85 degrees up, 5 down.
    static constexpr irr::f32 PITCH_MIN = -85.0f;
    static constexpr irr::f32 PITCH_MAX = 5.0f;
    // How far a round reaches, in world units from the origin.
    static constexpr irr::f32 SHOT_RANGE = 4000.0f;
    // The crosshair image is drawn at its natural size.
    static constexpr irr::s32 CROSSHAIR_SIZE = 256;

    // A signed 16-bit joystick axis as a turn input of about -1 to 1; the
    // axis is inverted, so a stick to the right gives a negative value.
    // Magnitudes below 0.01 are noise around the centre and count as 0.
    static irr::f32 axisInput(irr::s16 axis);

    // One step's (1/60 s) advance of the smoothed rate: the stick eases the
    // turret into motion and lets it coast to a stop.
    static irr::f32 smooth(irr::f32 rate, irr::f32 input);

    // A nudge (the mouse's degrees since the last step) held within half a
    // turn, the most that turn() can take in one go; the elevation limits
    // are narrower still.
    static irr::f32 nudgeLimit(irr::f32 degrees);

    // The turret's Y angle after turning by -yawRate, kept within 0 to 360.
    static irr::f32 turn(irr::f32 yaw, irr::f32 yawRate);

    // The guns' X angle after elevating by pitchRate, held within the limits.
    static irr::f32 elevate(irr::f32 pitch, irr::f32 pitchRate);

    // The line of one round: from the camera to the point SHOT_RANGE from
    // the origin in the direction the camera looks. A camera whose target is
    // its own position looks nowhere, and the line ends at the origin.
    static irr::core::line3df shotLine(const irr::core::vector3df& cameraPosition,
                                       const irr::core::vector3df& cameraTarget);

    // Top-left corner of the crosshair for a screen of the given size, so
    // that the image is centred.
    static irr::core::position2di crosshairPosition(const irr::core::dimension2du& screen);
};
