#include "TerrainPatchCulling.h"

#include <ICameraSceneNode.h>
#include <IDynamicMeshBuffer.h>
#include <ITerrainSceneNode.h>
#include <SViewFrustum.h>

using namespace irr;

TerrainPatchCulling::TerrainPatchCulling(scene::ITerrainSceneNode* ground)
    : terrain(ground), patchesSent(0), patchesLeftOut(0)
{
    terrain->grab();
}

TerrainPatchCulling::~TerrainPatchCulling()
{
    terrain->drop();
}

bool TerrainPatchCulling::isOutside(const scene::SViewFrustum& view, const core::aabbox3df& box)
{
    core::vector3df corners[8];
    box.getEdges(corners);
    for (u32 i = 0; i < scene::SViewFrustum::VF_PLANE_COUNT; ++i) {
        bool allOutside = true;
        for (const core::vector3df& corner : corners)
            allOutside = allOutside && view.planes[i].classifyPointRelation(corner) == core::ISREL3D_FRONT;
        if (allOutside)
            return true;
    }
    return false;
}

void TerrainPatchCulling::update(const scene::ICameraSceneNode& camera)
{
    const scene::SViewFrustum& view = *camera.getViewFrustum();
    const core::matrix4 viewProjection = camera.getProjectionMatrix() * camera.getViewMatrix();
    const s32 count = terrain->getCurrentLODOfPatches(seenLods);
    // Cut again only when the engine chose anew or the view moved; the cut
    // stays in the engine's buffer until the engine rebuilds it.
    if (count <= 0 || (seenLods == lods && viewProjection == seenView))
        return;
    lods = seenLods;
    seenView = viewProjection;

    s32 side = 0;
    while ((side + 1) * (side + 1) <= count)
        ++side;
    auto* buffer = dynamic_cast<scene::IDynamicMeshBuffer*>(terrain->getRenderBuffer());
    if (buffer == nullptr)
        return;
    scene::IIndexBuffer& indices = buffer->getIndexBuffer();
    // The engine draws as many indices as its own patches hold: those left
    // out become empty triangles at the end.
    u32 engineCount = 0;
    u32 kept = 0;
    patchesSent = 0;
    patchesLeftOut = 0;
    for (s32 x = 0; x < side; ++x) {
        for (s32 z = 0; z < side; ++z) {
            if (lods[x * side + z] < 0)
                continue;
            const s32 made = terrain->getIndicesForPatch(patch, x, z, -1);
            if (made <= 0)
                continue;
            engineCount += static_cast<u32>(made);
            if (isOutside(view, terrain->getBoundingBox(x, z))) {
                ++patchesLeftOut;
                continue;
            }
            ++patchesSent;
            for (s32 i = 0; i < made && kept < indices.allocated_size(); ++i)
                indices.setValue(kept++, patch[i]);
        }
    }
    for (u32 i = kept; i < engineCount && i < indices.allocated_size(); ++i)
        indices.setValue(i, 0);
    indices.setDirty();
}
