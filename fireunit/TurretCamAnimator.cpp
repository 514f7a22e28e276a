#include "TurretCamAnimator.h"

#include <ICameraSceneNode.h>
#include <ISceneNode.h>

using namespace irr;

TurretCamAnimator::TurretCamAnimator(scene::ISceneNode* guns) : guns(guns)
{
}

void TurretCamAnimator::animateNode(scene::ISceneNode* node, u32 /*timeMs*/)
{
    if (!guns || !node)
        return;

    // The aim may have changed since the guns were last animated (joystick
    // events arrive between frames), so take their transformation afresh.
    guns->updateAbsolutePosition();
    const core::matrix4& transform = guns->getAbsoluteTransformation();

    core::vector3df up(0.0f, 1.0f, 0.0f);
    transform.rotateVect(up);
    core::vector3df target(0.0f, 0.0f, 100.0f);
    transform.transformVect(target);

    node->setPosition(guns->getAbsolutePosition() + core::vector3df(0.0f, 1.75f, 0.0f));

    if (node->getType() == scene::ESNT_CAMERA) {
        scene::ICameraSceneNode* camera = static_cast<scene::ICameraSceneNode*>(node);
        camera->setUpVector(up);
        camera->setTarget(target);
    }
}

scene::ISceneNodeAnimator* TurretCamAnimator::createClone(scene::ISceneNode* /*node*/,
                                                          scene::ISceneManager* /*newManager*/)
{
    return nullptr;
}
