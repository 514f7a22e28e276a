#pragma once

#include "PerlinNoise.h"

#include <SColor.h>
#include <vector3d.h>

// The daylight sky as seen from the turret, as a colour for every direction:
// deep blue overhead, the terrain's fog colour at and below the horizon, a
// cloud deck and the sun 45 degrees up towards -Z, where the world's
// directional light comes from.
class SkyModel {
public:
    SkyModel();

    // Colour (components 0..1) along the unit vector `d`, Y up.
    irr::video::SColorf colour(const irr::core::vector3df& d) const;

    // The colour of the haze at the horizon: the terrain's fog colour, so the
    // fogged land melts into the sky.
    static irr::video::SColorf horizon();

private:
    // Cloud cover 0..1 along `d` and, through `thickness`, how thick it is there.
    float cloudCover(const irr::core::vector3df& d, float& thickness) const;

    PerlinNoise clouds; // cloud shapes on the layer
    PerlinNoise wisps;  // stretched streaks that break up the shapes
};
