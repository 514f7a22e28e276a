#include "TracerBatch.h"

#include <algorithm>

using namespace irr;

TracerBatch::Gun TracerBatch::gunOfRound(u32 burstRounds)
{
    return burstRounds % 4 == 0 || burstRounds % 4 == 3 ? Gun::Right : Gun::Left;
}

core::vector3df TracerBatch::muzzleOffset(Gun gun)
{
    return core::vector3df(gun == Gun::Right ? 0.14f : -0.14f, 1.5f, 1.89f);
}

bool TracerBatch::streakAt(const core::vector3df& muzzle, const core::vector3df& direction, u32 firedAt,
                           u32 now, Streak& streak)
{
    // A round from the future (the clock went back) has a huge wrapped age
    // and is gone like an old one.
    const u32 age = now - firedAt;
    if (age >= lifetime)
        return false;
    const f32 seconds = static_cast<f32>(age) / 1000.0f;
    const f32 head = headStart + speed * seconds;
    const f32 tail = std::max(0.0f, head - length);
    streak.head = muzzle + direction * head;
    streak.tail = muzzle + direction * tail;
    streak.alpha = 1.0f - static_cast<f32>(age) / static_cast<f32>(lifetime);
    return true;
}

TracerBatch::TracerBatch() : next(0)
{
    clear();
}

void TracerBatch::fire(const core::vector3df& muzzle, const core::vector3df& direction, u32 now)
{
    rounds[next] = Round{muzzle, direction, now, true};
    next = (next + 1) % capacity;
}

u32 TracerBatch::collect(u32 now, Streak (&streaks)[capacity]) const
{
    u32 count = 0;
    for (u32 i = 0; i < capacity; ++i) {
        const Round& round = rounds[(next + i) % capacity];
        if (round.used && streakAt(round.muzzle, round.direction, round.firedAt, now, streaks[count]))
            ++count;
    }
    return count;
}

void TracerBatch::clear()
{
    for (Round& round : rounds)
        round.used = false;
    next = 0;
}
