#pragma once

#include <ISceneNodeAnimator.h>

// Keeps a node, in the game the turret camera, on the guns: 1.75 units up
// the guns' own up axis, looking at the point 100 units ahead along their
// barrels, with the guns' up axis as its up. The camera thus turns and
// elevates with the turret and never rolls.
class TurretCamAnimator : public irr::scene::ISceneNodeAnimator {
public:
    // guns may be null; the animator then does nothing. No reference is
    // taken: the guns belong to the scene graph.
    explicit TurretCamAnimator(irr::scene::ISceneNode* guns);

    void animateNode(irr::scene::ISceneNode* node, irr::u32 timeMs) override;
    // The animator is bound to one turret; a cloned camera gets none.
    irr::scene::ISceneNodeAnimator* createClone(irr::scene::ISceneNode* node,
                                                irr::scene::ISceneManager* newManager = 0) override;

    irr::scene::ISceneNode* getGuns() const { return guns; }

private:
    irr::scene::ISceneNode* guns;   // the node followed; not owned, may be null
};
