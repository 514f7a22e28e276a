#include "SkyModel.h"

#include <algorithm>
#include <cmath>

using irr::core::vector3df;
using irr::video::SColorf;

namespace {

SColorf mix(const SColorf& a, const SColorf& b, float t)
{
    return SColorf(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 1.0f);
}

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

SColorf bytes(float r, float g, float b)
{
    return SColorf(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
}

const SColorf zenith = bytes(24.0f, 58.0f, 148.0f);
const SColorf sunlight = bytes(255.0f, 248.0f, 228.0f);
const SColorf sunDisc = bytes(255.0f, 253.0f, 245.0f);
const SColorf cloudLit = bytes(246.0f, 246.0f, 250.0f);
const SColorf cloudShade = bytes(150.0f, 160.0f, 186.0f);
// The world's directional light shines along (0, -0.71, 0.71).
const vector3df sunDirection = vector3df(0.0f, 1.0f, -1.0f).normalize();

} // namespace

SkyModel::SkyModel() : clouds(0x5ca1ab1eu), wisps(0x0c10d5u) {}

SColorf SkyModel::horizon()
{
    return bytes(99.0f, 122.0f, 193.0f);
}

SColorf SkyModel::colour(const vector3df& d) const
{
    const SColorf haze = horizon();
    if (d.Y <= 0.0f)
        return haze;

    // Haze thins quickly above the horizon, then the blue deepens slowly.
    SColorf sky = mix(haze, zenith, std::pow(d.Y, 0.55f));

    // The glow round the sun fades out towards the horizon, so that the
    // horizon keeps the fog colour all round.
    const float towardsSun = std::max(0.0f, d.dotProduct(sunDirection));
    const float horizonFade = smoothstep(0.0f, 0.12f, d.Y);
    const float glow = (0.8f * std::pow(towardsSun, 1200.0f) + 0.35f * std::pow(towardsSun, 90.0f)
                        + 0.16f * std::pow(towardsSun, 10.0f)) * horizonFade;
    sky = mix(sky, sunlight, std::min(glow, 1.0f));

    float thickness = 0.0f;
    const float cover = cloudCover(d, thickness);
    if (cover > 0.0f) {
        // Thick cloud has a grey belly; the side towards the sun shines, and
        // low clouds take on the haze.
        SColorf cloud = mix(cloudLit, cloudShade, 0.7f * thickness);
        cloud = mix(cloud, sunlight, 0.45f * std::pow(towardsSun, 6.0f));
        cloud = mix(cloud, haze, 0.55f * (1.0f - smoothstep(0.0f, 0.45f, d.Y)));
        sky = mix(sky, cloud, cover * 0.92f);
    }

    // The sun's disc shines through thin cloud and is dimmed by thick cloud.
    const float angle = std::acos(std::min(towardsSun, 1.0f));
    const float disc = 1.0f - smoothstep(0.011f, 0.015f, angle);
    return mix(sky, sunDisc, disc * (1.0f - 0.6f * cover));
}

float SkyModel::cloudCover(const vector3df& d, float& thickness) const
{
    if (d.Y < 0.015f)
        return 0.0f;
    // The clouds lie on a flat layer overhead, so the far ones look small and
    // squeezed together towards the horizon as a real cloud deck does.
    const float reach = 1.0f / d.Y;
    const float x = d.X * reach * 1.6f + 3.7f;
    const float z = d.Z * reach * 1.6f - 1.3f;
    // Fine octaves only where a pixel covers little of the layer, so that the
    // distant clouds do not glitter.
    const int octaves = d.Y > 0.25f ? 7 : (d.Y > 0.08f ? 5 : 3);
    const float shape = clouds.fractal(x, z, octaves, 2.1f, 0.52f);
    const float streak = wisps.fractal(x * 0.35f + 11.0f, z * 1.4f, 4);
    thickness = smoothstep(0.25f, 0.75f, shape);
    // Far clouds dissolve into the haze, and the sun burns a clear patch
    // round itself so the player can find it.
    const float clearing = 1.0f - 0.85f * std::pow(std::max(0.0f, d.dotProduct(sunDirection)), 150.0f);
    return smoothstep(0.02f, 0.42f, shape + 0.18f * streak) * smoothstep(0.015f, 0.22f, d.Y) * clearing;
}
