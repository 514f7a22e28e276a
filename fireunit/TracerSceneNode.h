#pragma once

#include <ISceneNode.h>
#include <S3DVertex.h>
#include <SMaterial.h>

#include "TracerBatch.h"

// Draws the tracers of a TracerBatch in one call: each streak a thin quad
// turned to face the camera, white-yellow at the round and dimmer towards
// the guns, added onto the picture like light, in front of the muzzle
// flashes. Its width grows with distance so that a streak stays about four
// pixels wide all along.
// The vertex and index arrays are fixed, so drawing allocates nothing.
//
// The owner fires rounds into getBatch() and calls update with the game
// time once a frame, before the scene is drawn.
class TracerSceneNode : public irr::scene::ISceneNode {
public:
    // Width of a streak, in units per unit of distance from the camera: about
    // four pixels of a 768-pixel-high view through the engine's default lens,
    // enough to read as a glowing round against a bright sky.
    static constexpr irr::f32 widthPerDistance = 0.008f;

    TracerSceneNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager, irr::s32 id = -1);

    TracerBatch& getBatch() { return batch; }
    // Takes the streaks as they are at now for the next draw.
    void update(irr::u32 now);
    irr::u32 getStreakCount() const { return streakCount; }

    void OnRegisterSceneNode() override;
    void render() override;
    const irr::core::aabbox3df& getBoundingBox() const override { return box; }
    irr::u32 getMaterialCount() const override { return 1; }
    irr::video::SMaterial& getMaterial(irr::u32 i) override;

private:
    TracerBatch batch;                                         // the rounds in flight
    TracerBatch::Streak streaks[TracerBatch::capacity];        // as they stand at the latest update
    irr::u32 streakCount;                                      // how many of them to draw
    irr::video::S3DVertex vertices[TracerBatch::capacity * 4]; // four corners a streak
    irr::u16 indices[TracerBatch::capacity * 6];               // two triangles a streak
    irr::core::aabbox3df box;                                  // round the streaks, in the world
    irr::video::SMaterial material;                            // unlit, additive, no depth test or writes
};
