#include "ViewShake.h"

#include <ICameraSceneNode.h>

using namespace irr;

void ViewShake::animateNode(scene::ISceneNode* node, u32)
{
    if ((yaw == 0.0f && pitch == 0.0f) || node == nullptr || node->getType() != scene::ESNT_CAMERA)
        return;
    scene::ICameraSceneNode* camera = static_cast<scene::ICameraSceneNode*>(node);
    const core::vector3df eye = camera->getAbsolutePosition();
    core::vector3df forward = camera->getTarget() - eye;
    const f32 length = forward.getLength();
    if (length <= 0.0f)
        return;
    forward /= length;
    core::vector3df right = camera->getUpVector().crossProduct(forward);
    right.normalize();
    const core::vector3df up = forward.crossProduct(right);
    camera->setTarget(eye + (forward + right * (yaw * core::DEGTORAD) + up * (pitch * core::DEGTORAD)) * length);
}

scene::ISceneNodeAnimator* ViewShake::createClone(scene::ISceneNode*, scene::ISceneManager*)
{
    return new ViewShake();
}
