#pragma once

#include <irrTypes.h>
#include <vector3d.h>

namespace irr {
namespace scene { class IBillboardSceneNode; class ISceneManager; class ISceneNode; }
namespace video { class ITexture; }
}

// The fireball of one hit in the scene: a billboard with the baked fireball
// texture, sized and faded by the Fireball rule at the game time it is
// given. It may hang under the hit jet and move with it; it stays valid
// should the jet's node go first. Without its texture there is nothing to
// show, and the effect does nothing.
class FireballEffect {
public:
    FireballEffect(irr::scene::ISceneManager* sceneManager, irr::scene::ISceneNode* parent,
                   const irr::core::vector3df& position, irr::video::ITexture* texture, irr::u32 bornAt);
    ~FireballEffect();

    // Sizes and fades the fireball for now; false once it is over, when
    // the billboard is hidden and the effect may be destroyed.
    bool update(irr::u32 now);

    irr::scene::IBillboardSceneNode* getNode() const { return node; }

private:
    FireballEffect(const FireballEffect&) = delete;
    FireballEffect& operator=(const FireballEffect&) = delete;

    irr::scene::IBillboardSceneNode* node;  // our own reference; null without a texture
    irr::u32 bornAt;                        // game time of the hit
};
