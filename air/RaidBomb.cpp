#include "RaidBomb.h"

#include <cmath>

using namespace irr;

RaidBomb::RaidBomb(const core::vector3df& from, const core::vector3df& speed, u32 at, f32 g, f32 attackStrength)
    : release(from), velocity(speed), releaseTime(at), gravity(g), strength(attackStrength)
{
    // Solves y + vy t - g t^2 / 2 = 0 for the later root.
    const f32 vy = velocity.Y;
    const f32 fall = (vy + std::sqrt(vy * vy + 2.0f * gravity * std::max(release.Y, 0.0f))) / gravity;
    landTime = releaseTime + static_cast<u32>(fall * 1000.0f);
}

core::vector3df RaidBomb::positionAt(u32 now) const
{
    const f32 t = static_cast<f32>(static_cast<s32>(now - releaseTime)) / 1000.0f;
    return release + velocity * t - core::vector3df(0.0f, 0.5f * gravity * t * t, 0.0f);
}

core::vector3df RaidBomb::landingPoint() const
{
    core::vector3df ground = positionAt(landTime);
    ground.Y = 0.0f;
    return ground;
}

bool RaidBomb::isCrossedBy(const core::line3df& shot, u32 now) const
{
    const core::vector3df where = positionAt(now);
    return shot.getClosestPoint(where).getDistanceFrom(where) <= hitRadius;
}

u32 RaidBomb::damageAt(f32 distance, f32 attackStrength)
{
    if (distance >= damageRadius || attackStrength <= 0.0f)
        return 0;
    return static_cast<u32>(std::lround(fullDamage * attackStrength * (1.0f - distance / damageRadius)));
}

u32 RaidBomb::damage() const
{
    const core::vector3df ground = landingPoint();
    return damageAt(std::sqrt(ground.X * ground.X + ground.Z * ground.Z), strength);
}
