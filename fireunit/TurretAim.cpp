#include "TurretAim.h"

#include <cmath>

using namespace irr;

f32 TurretAim::axisInput(s16 axis)
{
    const f32 value = static_cast<f32>(axis) / -32767.0f;
    return std::fabs(value) < 0.01f ? 0.0f : value;
}

f32 TurretAim::smooth(f32 rate, f32 input)
{
    return rate * 0.95f + input * 0.05f;
}

f32 TurretAim::nudgeLimit(f32 degrees)
{
    if (!(degrees > -180.0f))   // also NaN
        return degrees < 0.0f ? -180.0f : 0.0f;
    return degrees > 180.0f ? 180.0f : degrees;
}

f32 TurretAim::turn(f32 yaw, f32 yawRate)
{
    f32 turned = yaw - yawRate;
    if (turned > 360.0f)
        turned -= 360.0f;
    if (turned < 0.0f)
        turned += 360.0f;
    return turned;
}

f32 TurretAim::elevate(f32 pitch, f32 pitchRate)
{
    const f32 elevated = pitch + pitchRate;
    if (elevated > PITCH_MAX)
        return PITCH_MAX;
    if (elevated < PITCH_MIN)
        return PITCH_MIN;
    return elevated;
}

core::line3df TurretAim::shotLine(const core::vector3df& cameraPosition,
                                  const core::vector3df& cameraTarget)
{
    core::vector3df direction = cameraTarget - cameraPosition;
    direction.normalize();
    // The end is the direction scaled as a point, not the start moved along
    // it: every round reaches the same distance from the turret's pivot.
    return core::line3df(cameraPosition, direction * SHOT_RANGE);
}

core::position2di TurretAim::crosshairPosition(const core::dimension2du& screen)
{
    return core::position2di(static_cast<s32>(screen.Width / 2) - CROSSHAIR_SIZE / 2,
                             static_cast<s32>(screen.Height / 2) - CROSSHAIR_SIZE / 2);
}
