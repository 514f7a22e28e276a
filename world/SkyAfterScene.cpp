#include "SkyAfterScene.h"

#include <ISceneNode.h>
#include <GL/gl.h>

using namespace irr;

SkyAfterScene::SkyAfterScene(scene::ISceneNode* skyBox) : sky(skyBox), shown(false)
{
    sky->grab();
    // Tested against the depth buffer, which the engine's sky box is not.
    for (u32 i = 0; i < sky->getMaterialCount(); ++i)
        sky->getMaterial(i).ZBuffer = video::ECFN_LESSEQUAL;
    sky->setVisible(false);
}

SkyAfterScene::~SkyAfterScene()
{
    sky->drop();
}

void SkyAfterScene::OnPreRender(core::array<scene::ISceneNode*>&)
{
    // Whoever hides the sky's parent hides the sky.
    shown = sky->getParent() != nullptr && sky->getParent()->isTrulyVisible();
}

void SkyAfterScene::OnRenderPassPreRender(scene::E_SCENE_NODE_RENDER_PASS renderPass)
{
    if (renderPass == scene::ESNRP_SOLID && beforeOpaque)
        beforeOpaque();
}

void SkyAfterScene::OnRenderPassPostRender(scene::E_SCENE_NODE_RENDER_PASS renderPass)
{
    if (renderPass != scene::ESNRP_SOLID || !shown)
        return;
    // At the far plane's depth the sky passes the test only where the
    // cleared depth is left: behind everything opaque, whatever its distance.
    glDepthRange(1.0, 1.0);
    sky->render();
    glDepthRange(0.0, 1.0);
}
