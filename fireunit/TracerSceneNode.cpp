#include "TracerSceneNode.h"

#include <ICameraSceneNode.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>

using namespace irr;

TracerSceneNode::TracerSceneNode(scene::ISceneNode* parent, scene::ISceneManager* manager, s32 id)
    : scene::ISceneNode(parent, manager, id), streakCount(0)
{
    material.MaterialType = video::EMT_TRANSPARENT_ADD_COLOR;
    material.Lighting = false;
    material.ZWriteEnable = false;
    // Over everything: a streak is seen leaving the muzzle through its own
    // flash, whose opaque petals would otherwise hide the round just fired.
    material.ZBuffer = video::ECFN_ALWAYS;
    material.BackfaceCulling = false;
    material.FogEnable = false;
    for (u32 i = 0; i < TracerBatch::capacity; ++i) {
        const u16 first = static_cast<u16>(i * 4);
        const u16 corners[6] = {0, 1, 2, 0, 2, 3};
        for (u32 k = 0; k < 6; ++k)
            indices[i * 6 + k] = static_cast<u16>(first + corners[k]);
    }
    // The streaks stand in world coordinates, wherever the node hangs.
    setAutomaticCulling(scene::EAC_OFF);
}

void TracerSceneNode::update(u32 now)
{
    streakCount = batch.collect(now, streaks);
    box.reset(streakCount > 0 ? streaks[0].head : core::vector3df(0, 0, 0));
    for (u32 i = 0; i < streakCount; ++i) {
        box.addInternalPoint(streaks[i].head);
        box.addInternalPoint(streaks[i].tail);
    }
}

void TracerSceneNode::OnRegisterSceneNode()
{
    if (IsVisible && streakCount > 0)
        SceneManager->registerNodeForRendering(this, scene::ESNRP_TRANSPARENT);
    ISceneNode::OnRegisterSceneNode();
}

void TracerSceneNode::render()
{
    scene::ICameraSceneNode* camera = SceneManager->getActiveCamera();
    if (streakCount == 0 || !camera)
        return;
    const core::vector3df eye = camera->getAbsolutePosition();
    const core::vector3df up = camera->getUpVector();
    for (u32 i = 0; i < streakCount; ++i) {
        const TracerBatch::Streak& streak = streaks[i];
        // Sideways across the streak as the camera sees it; a streak seen
        // end on has no such side, any will do.
        core::vector3df along = streak.head - streak.tail;
        core::vector3df side = along.crossProduct(eye - streak.head);
        if (side.getLengthSQ() < 1e-12f)
            side = up.crossProduct(eye - streak.head);
        side.normalize();
        const f32 headWidth = eye.getDistanceFrom(streak.head) * widthPerDistance;
        const f32 tailWidth = eye.getDistanceFrom(streak.tail) * widthPerDistance;
        // Added light: the colour itself fades, black adds nothing.
        const u32 level = static_cast<u32>(streak.alpha * 255.0f);
        const video::SColor hot(255, level, level * 235 / 255, level * 160 / 255);
        // The end towards the guns glows at three quarters: seen from behind
        // the guns a streak is mostly that end, drawn out towards the sight.
        const video::SColor cold(255, level * 3 / 4, level * 200 / 255 * 3 / 4, level * 110 / 255 * 3 / 4);
        video::S3DVertex* corner = &vertices[i * 4];
        corner[0] = video::S3DVertex(streak.tail - side * (tailWidth * 0.5f), core::vector3df(0, 0, 1), cold,
                                     core::vector2df(0, 0));
        corner[1] = video::S3DVertex(streak.head - side * (headWidth * 0.5f), core::vector3df(0, 0, 1), hot,
                                     core::vector2df(1, 0));
        corner[2] = video::S3DVertex(streak.head + side * (headWidth * 0.5f), core::vector3df(0, 0, 1), hot,
                                     core::vector2df(1, 1));
        corner[3] = video::S3DVertex(streak.tail + side * (tailWidth * 0.5f), core::vector3df(0, 0, 1), cold,
                                     core::vector2df(0, 1));
    }
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    driver->setTransform(video::ETS_WORLD, core::IdentityMatrix);
    driver->setMaterial(material);
    driver->drawVertexPrimitiveList(vertices, streakCount * 4, indices, streakCount * 2, video::EVT_STANDARD,
                                    scene::EPT_TRIANGLES, video::EIT_16BIT);
}

video::SMaterial& TracerSceneNode::getMaterial(u32)
{
    return material;
}
