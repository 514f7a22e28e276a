#pragma once

#include <IParticleAffector.h>

namespace irr { namespace scene { class IParticleSystemSceneNode; } }

// Draws each smoke puff on a square cut down to the part of its picture that
// can show. The engine draws a particle as a square of its size with the
// whole texture on it, and the puff fills only the middle of the smoke
// texture: all around the middle three quarters it is clear enough to fail
// the alpha test of the smoke's material. A square three quarters the size,
// showing the middle three quarters of the texture, puts every texel that
// can show where it was: the same puff for 44% fewer pixels to fill, which
// on a software renderer is most of what smoke costs.
//
// The trim only holds for a texture clear outside its middle, at every mip
// level; the resource tests check the baked smoke against KEPT.
class PuffTrim : public irr::scene::IParticleAffector {
public:
    static constexpr irr::f32 KEPT = 0.75f;   // side of the square drawn, to the particle's size

    // Trims the particles of a smoke trail, the texture of its layer 0 with them.
    static void apply(irr::scene::IParticleSystemSceneNode* smoke);

    void affect(irr::u32 now, irr::scene::SParticle* particles, irr::u32 count) override;
    irr::scene::E_PARTICLE_AFFECTOR_TYPE getType() const override { return irr::scene::EPAT_NONE; }
};
