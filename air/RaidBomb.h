#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

// A bomb of a bomber's stick: it leaves the bomber with the bomber's speed,
// falls under gravity, can be shot on the way down, and bursts on the ground
// (y = 0), where it damages the gun if it lands near enough.
class RaidBomb {
public:
    static constexpr irr::f32 hitRadius = 6.0f;        // rounds must pass this close: the bomb as drawn
    static constexpr irr::f32 damageRadius = 100.0f;   // no harm beyond this from the gun
    static constexpr irr::f32 fullDamage = 15.0f;      // at the gun, at strength 1
    static constexpr irr::u32 points = 250;            // for shooting one down

    RaidBomb(const irr::core::vector3df& release, const irr::core::vector3df& velocity, irr::u32 releaseTime,
             irr::f32 gravity, irr::f32 strength);

    irr::core::vector3df positionAt(irr::u32 now) const;
    irr::u32 getLandTime() const { return landTime; }
    bool hasLanded(irr::u32 now) const { return static_cast<irr::s32>(now - landTime) >= 0; }
    // Where it meets the ground.
    irr::core::vector3df landingPoint() const;
    bool isCrossedBy(const irr::core::line3df& shot, irr::u32 now) const;

    // Armour lost to a bomb landing this far from the gun: the full damage
    // at the gun, less with distance, none from damageRadius on.
    static irr::u32 damageAt(irr::f32 distance, irr::f32 strength);
    irr::u32 damage() const;

private:
    irr::core::vector3df release;   // where it left the bomber
    irr::core::vector3df velocity;  // units per second at release
    irr::u32 releaseTime;           // game time it left
    irr::f32 gravity;               // units per second squared
    irr::f32 strength;              // the wave's attack strength
    irr::u32 landTime;              // game time it meets the ground
};
