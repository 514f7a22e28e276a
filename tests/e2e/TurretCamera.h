#pragma once

#include <matrix4.h>
#include <vector3d.h>

// The turret camera as the game poses it, for the planners of the
// end-to-end runs: it rides 1.75 up the guns' own axis and looks at the
// point 100 ahead of them; the guns turn with the turret's base. Angles in
// degrees: the base's Y angle and the guns' X angle.
inline void turretCamera(irr::f32 yaw, irr::f32 pitch, irr::core::vector3df& position, irr::core::vector3df& target,
                         irr::core::vector3df& up)
{
    irr::core::matrix4 base, elevation;
    base.setRotationDegrees(irr::core::vector3df(0, yaw, 0));
    elevation.setRotationDegrees(irr::core::vector3df(pitch, 0, 0));
    const irr::core::matrix4 guns = base * elevation;
    position = irr::core::vector3df(0, 1.75f, 0);
    guns.transformVect(position);
    target = irr::core::vector3df(0, 0, 100);
    guns.transformVect(target);
    up = irr::core::vector3df(0, 1, 0);
    guns.rotateVect(up);
}
