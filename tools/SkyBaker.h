#pragma once

#include <string>

namespace irr {
namespace core {
template <class T> class vector3d;
}
}

// Paints the six faces of the daylight sky box: deep blue overhead, a haze at
// the horizon in the terrain's fog colour so the fogged land melts into it,
// soft clouds and the sun where the world's light comes from. Every pixel is
// computed from the direction it shows in the engine's sky box, so the faces
// meet without seams.
class SkyBaker {
public:
    enum Face { Front, Right, Back, Left, Top, Bottom, FaceCount };

    static bool bake(const std::string& resDir);

    // File name of a face under the resource directory.
    static const char* fileName(Face face);

    // The direction, from the viewer, that the engine's sky box shows at the
    // point (s, t) of a face image: s runs -1..1 from the left column to the
    // right, t from the top row to the bottom. Not normalised.
    static irr::core::vector3d<float> direction(Face face, float s, float t);

    // Face coordinate (-1..1) of the centre of pixel `index` out of `size`.
    // The engine insets the face's texture coordinates by two thirds of a
    // texel, and this undoes it so the edge texels carry the edge directions.
    static float faceCoordinate(unsigned index, unsigned size);

    static const unsigned size = 1024; // edge length of every face image
};
