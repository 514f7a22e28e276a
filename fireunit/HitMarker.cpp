#include "HitMarker.h"

using namespace irr;

HitMarker::HitMarker() : shown(false), hitTime(0)
{
}

void HitMarker::hit(u32 now)
{
    shown = true;
    hitTime = now;
}

bool HitMarker::lookAt(u32 now, Look& look) const
{
    const u32 age = now - hitTime;
    if (!shown || age >= showTime)
        return false;
    const f32 progress = static_cast<f32>(age) / static_cast<f32>(showTime);
    look.spread = startSpread + (endSpread - startSpread) * progress;
    look.alpha = age < holdTime
        ? 1.0f
        : 1.0f - static_cast<f32>(age - holdTime) / static_cast<f32>(showTime - holdTime);
    return true;
}
