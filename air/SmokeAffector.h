#pragma once

#include <IParticleAffector.h>

// How each puff of a burning jet's trail lives: it swells as it drifts
// apart, lightens from the sooty grey it was born with towards the pale grey
// of thinned smoke, and fades out towards the end of its life, so that the
// trail behind the jet thins from a dark knot at the jet to nothing. A puff
// also fades in over its first tenth of a second, so none pops into view.
// Runs after the trim, which sets the size each frame.
class SmokeAffector : public irr::scene::IParticleAffector {
public:
    static constexpr irr::f32 growth = 1.4f;       // a puff ends this many times the size it started
    static constexpr irr::u32 fadeIn = 100;        // ms
    static constexpr irr::u32 pale = 215;          // grey it lightens to
    static constexpr irr::f32 startAlpha = 0.75f;  // of a puff at its thickest

    // The look of a puff at a share of its life, 0 at birth to 1 at its end.
    struct Look {
        irr::f32 scale;   // of its start size
        irr::f32 light;   // share of the way from its start grey to pale
        irr::f32 alpha;   // 0 to 1
    };
    static Look lookAt(irr::f32 life, irr::u32 ageMs);

    void affect(irr::u32 now, irr::scene::SParticle* particles, irr::u32 count) override;
    irr::scene::E_PARTICLE_AFFECTOR_TYPE getType() const override { return irr::scene::EPAT_NONE; }
};
