#include "SmokeAffector.h"

#include <algorithm>
#include <cmath>

using namespace irr;

SmokeAffector::Look SmokeAffector::lookAt(f32 life, u32 ageMs)
{
    const f32 t = std::clamp(life, 0.0f, 1.0f);
    Look look{};
    // Fast at first, slower as the puff thins: the square root of its age.
    look.scale = 1.0f + (growth - 1.0f) * std::sqrt(t);
    look.light = t;
    const f32 in = std::min(1.0f, static_cast<f32>(ageMs) / static_cast<f32>(fadeIn));
    look.alpha = startAlpha * in * (1.0f - t) * (1.0f - t);
    return look;
}

void SmokeAffector::affect(u32 now, scene::SParticle* particles, u32 count)
{
    for (u32 i = 0; i < count; ++i) {
        scene::SParticle& puff = particles[i];
        const u32 span = puff.endTime > puff.startTime ? puff.endTime - puff.startTime : 1;
        const u32 age = now > puff.startTime ? now - puff.startTime : 0;
        const Look look = lookAt(static_cast<f32>(age) / static_cast<f32>(span), age);
        puff.size *= look.scale;
        const f32 grey = static_cast<f32>(puff.startColor.getRed());
        const u32 shade = static_cast<u32>(grey + (static_cast<f32>(pale) - grey) * look.light + 0.5f);
        puff.color.set(static_cast<u32>(look.alpha * 255.0f), shade, shade, shade);
    }
}
