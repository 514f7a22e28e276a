#pragma once

#include <vector3d.h>

// One aircraft or bomb as the radar and the edge marks show it. Each way of
// playing hands the drawing its own list of these, so the drawing needs to
// know nothing of how that mode keeps its aircraft.
struct RadarContact {
    // Each kind has a shape of its own on the radar.
    enum class Kind { Jet, Fighter, Bomber, Attacker, Bomb };

    irr::core::vector3df position;  // world units, the gun at the origin
    Kind kind;
    bool hit;                       // already hit: shown hollow, and no edge mark
};
