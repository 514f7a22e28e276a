#include "NoiseSource.h"

NoiseSource::NoiseSource(std::uint32_t startValue)
    : state(startValue * 2654435761u + 0x6A09E667u)
{
    if (state == 0)
        state = 0x6A09E667u;
}

float NoiseSource::next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(static_cast<std::int32_t>(state)) / 2147483648.0f;
}
