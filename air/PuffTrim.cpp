#include "PuffTrim.h"

#include <IParticleSystemSceneNode.h>

using namespace irr;

void PuffTrim::apply(scene::IParticleSystemSceneNode* smoke)
{
    PuffTrim* trim = new PuffTrim();
    smoke->addAffector(trim);
    trim->drop();
    // Texture coordinates 0 to 1 across the square now run over the middle.
    smoke->getMaterial(0).getTextureMatrix(0).setTextureScaleCenter(KEPT, KEPT);
}

void PuffTrim::affect(u32 /*now*/, scene::SParticle* particles, u32 count)
{
    // The emitter sets each particle's size once; the trim holds it at the
    // kept share, from the frame the particle is born in.
    for (u32 i = 0; i < count; ++i)
        particles[i].size = particles[i].startSize * KEPT;
}
