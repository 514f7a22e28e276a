#include "FireballEffect.h"

#include "Fireball.h"

#include <IBillboardSceneNode.h>
#include <ISceneManager.h>
#include <ITexture.h>

using namespace irr;

FireballEffect::FireballEffect(scene::ISceneManager* sceneManager, scene::ISceneNode* parent,
                               const core::vector3df& position, video::ITexture* texture, u32 bornAt)
    : node(nullptr), bornAt(bornAt)
{
    if (!texture)
        return;
    node = sceneManager->addBillboardSceneNode(parent, core::dimension2df(1.0f, 1.0f), position);
    // Held, so that the jet's node may take it out of the scene first.
    node->grab();
    node->setMaterialTexture(0, texture);
    // Blended by the texture's alpha times the vertex alpha, which fades it.
    video::SMaterial& material = node->getMaterial(0);
    material.MaterialType = video::EMT_ONETEXTURE_BLEND;
    material.MaterialTypeParam = video::pack_textureBlendFunc(video::EBF_SRC_ALPHA, video::EBF_ONE_MINUS_SRC_ALPHA,
        video::EMFN_MODULATE_1X, video::EAS_TEXTURE | video::EAS_VERTEX_COLOR);
    material.Lighting = false;
    material.ZWriteEnable = false;
    update(bornAt);
}

FireballEffect::~FireballEffect()
{
    if (!node)
        return;
    node->remove();
    node->drop();
}

bool FireballEffect::update(u32 now)
{
    if (!node)
        return false;
    Fireball::Look look{};
    if (!Fireball::lookAt(bornAt, now, look)) {
        node->setVisible(false);
        return false;
    }
    node->setSize(core::dimension2df(look.size, look.size));
    const video::SColor shade(static_cast<u32>(look.alpha * 255.0f + 0.5f), 255, 255, 255);
    node->setColor(shade, shade);
    node->setVisible(true);
    return true;
}
