#include "Fireball.h"

using namespace irr;

bool Fireball::lookAt(u32 bornAt, u32 now, Look& look)
{
    const u32 age = now - bornAt;
    if (age >= lifetime)
        return false;
    const f32 x = static_cast<f32>(age) / static_cast<f32>(lifetime);
    // Fast at first and slowing, as the burning cloud meets the air.
    const f32 growth = 1.0f - (1.0f - x) * (1.0f - x);
    look.size = fullSize * (startShare + (1.0f - startShare) * growth);
    look.alpha = age < brightTime
        ? 1.0f
        : 1.0f - static_cast<f32>(age - brightTime) / static_cast<f32>(lifetime - brightTime);
    return true;
}
