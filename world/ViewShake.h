#pragma once

#include <ISceneNodeAnimator.h>

// Shakes the camera's view for a moment after a hit on the gun: added to the
// camera after the turret's own animator, it turns the target off the line
// of sight by the given angles, which the frame loop sets each frame.
class ViewShake : public irr::scene::ISceneNodeAnimator {
public:
    // Degrees right and up off the line of sight for the next frames; 0, 0: none.
    void set(irr::f32 right, irr::f32 up) { yaw = right; pitch = up; }

    void animateNode(irr::scene::ISceneNode* node, irr::u32 timeMs) override;
    irr::scene::ISceneNodeAnimator* createClone(irr::scene::ISceneNode* node,
                                                irr::scene::ISceneManager* newManager = nullptr) override;

private:
    irr::f32 yaw = 0.0f;
    irr::f32 pitch = 0.0f;
};
