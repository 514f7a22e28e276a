#pragma once

#include <irrTypes.h>
#include <vector3d.h>

namespace irr {
namespace scene { class ITerrainSceneNode; }
namespace video { struct S3DVertex2TCoords; }
}

// The terrain's vertices as the engine leaves them after loading the height
// map at scale 1, scaling the node and then moving it: worked out in one
// pass, straight from the unscaled mesh the engine keeps.
//
// The engine's setScale transforms its million vertices again and works out
// all their normals a second time, and setPosition transforms them once
// more. Loading the terrain at its scale and filling in what these steps
// would have given takes a fraction of that. The arithmetic follows the
// engine's own, operation by operation, so that every position and normal
// comes out bit for bit the same:
// - setScale turns each vertex about the terrain's centre before the
//   scaling (a turn by nothing, but the subtraction and addition round);
// - the normals are then taken from those positions: at each vertex, the
//   sum of the normals of the eight triangles around it in the engine's
//   order and orientation (some of which face down), made unit length;
// - setPosition moves each scaled vertex and turns it about the centre
//   after the scaling; the normals stay as they were.
class TerrainVertices {
public:
    // Places a terrain the engine has just loaded at scale so that its
    // centre, that of the scaled terrain, lies depth units straight below
    // the origin, and fills in its vertices as scaling and placing it in the
    // engine's own steps would have.
    static void centreBelowOrigin(irr::scene::ITerrainSceneNode* terrain, const irr::core::vector3df& scale,
                                  irr::f32 depth);

    // The side of a square grid of count vertices; 0 when count is not square.
    static irr::u32 sideOf(irr::u32 count);
};
