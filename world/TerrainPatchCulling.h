#pragma once

#include <irrArray.h>
#include <matrix4.h>

namespace irr { namespace scene { class ITerrainSceneNode; class ICameraSceneNode; struct SViewFrustum; } }

// Leaves out of the terrain's draw the patches the camera cannot see. The
// engine keeps a patch when it meets the box around the view, which looking
// up at the jets holds most of the ground; here each patch's box is tested
// against the view's six planes, and a patch wholly outside one of them is
// not sent. The patches kept are sent as the engine would send them, at the
// levels of detail it chose, in its order, so the picture is the same.
//
// Run once a frame after the engine has worked out its patches (the scene's
// nodes registered) and before the terrain is drawn.
class TerrainPatchCulling {
public:
    explicit TerrainPatchCulling(irr::scene::ITerrainSceneNode* terrain);
    ~TerrainPatchCulling();

    void update(const irr::scene::ICameraSceneNode& camera);

    // Whether a box lies wholly outside one of the view's planes.
    static bool isOutside(const irr::scene::SViewFrustum& view, const irr::core::aabbox3df& box);

    irr::u32 getPatchesSent() const { return patchesSent; }
    irr::u32 getPatchesLeftOut() const { return patchesLeftOut; }

private:
    TerrainPatchCulling(const TerrainPatchCulling&) = delete;
    TerrainPatchCulling& operator=(const TerrainPatchCulling&) = delete;

    irr::scene::ITerrainSceneNode* terrain;  // grabbed
    irr::core::array<irr::s32> lods;         // the engine's levels of detail, as last seen
    irr::core::array<irr::s32> seenLods;     // this frame's
    irr::core::array<irr::u32> patch;        // one patch's indices
    irr::core::matrix4 seenView;             // view and projection the draw was last cut for
    irr::u32 patchesSent;                    // patches in the draw, as last cut
    irr::u32 patchesLeftOut;                 // patches the engine would send and this left out
};
