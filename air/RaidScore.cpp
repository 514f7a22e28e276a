#include "RaidScore.h"

#include "FlightRules.h"
#include "RaidBomb.h"

using namespace irr;

u32 RaidScore::downed(const core::vector3df& position)
{
    const u32 worth = FlightRules::pointsAfterHit(0, position) * multiplier;
    points += worth;
    return worth;
}

void RaidScore::bombShot()
{
    points += RaidBomb::points;
}

void RaidScore::waveCleared(u32 wave, bool clean)
{
    if (clean)
        points += 1000 * wave;
}

void RaidScore::burstEnded(bool hit)
{
    multiplier = hit ? (multiplier < maxMultiplier ? multiplier + 1 : maxMultiplier) : 1;
}
