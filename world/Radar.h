#pragma once

#include <SMaterial.h>

#include <vector>

#include "RadarContact.h"
#include "RadarPicture.h"

namespace irr {
namespace scene { class ICameraSceneNode; }
namespace video { class IVideoDriver; }
}

// Draws the radar and the edge marks over the frame, from the aim of the
// camera the frame was drawn with: one material and one draw call.
class Radar {
public:
    Radar();

    // hudCorner: the HUD text's corner, from the top left, kept clear of
    // the edge marks.
    void draw(irr::video::IVideoDriver* driver, const irr::scene::ICameraSceneNode* camera,
              const std::vector<RadarContact>& contacts, irr::core::dimension2di hudCorner);

    const RadarPicture& getPicture() const { return picture; }

private:
    RadarPicture picture;          // the latest frame's triangles
    irr::video::SMaterial material; // blends by the vertices' alpha, no texture
};
