#include "IconBaker.h"

#include "BakeRegistry.h"
#include "ImageSaver.h"
#include "ResourceTable.h"

#include <algorithm>
#include <cmath>

namespace {

const BakeRegistry::Registration registration("icon", &IconBaker::bake);

const float pi = 3.14159265358979f;

struct Colour {
    float r, g, b;
};

Colour mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

// Share of a pixel inside a shape, from the signed distance of its centre
// (negative inside): one pixel of soft edge.
float coverage(float distance)
{
    return clamp01(0.5f - distance);
}

float roundedSquareDistance(float px, float py, float halfSide, float radius)
{
    const float qx = std::fabs(px) - halfSide + radius;
    const float qy = std::fabs(py) - halfSide + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float segmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax;
    const float dy = by - ay;
    const float t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy));
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// The jet from above, nose up, in units of the 256-pixel icon; the right
// half, mirrored for the left.
const float jetHalf[][2] = {{0, 62}, {5, 46}, {7, 20}, {50, -12}, {50, -22}, {9, -20}, {9, -36}, {25, -50},
    {25, -57}, {5, -52}, {4, -58}};
const int jetHalfCount = sizeof jetHalf / sizeof jetHalf[0];

// Signed distance to the jet outline, in jet units.
float jetDistance(float px, float py)
{
    float outline[2 * jetHalfCount][2];
    for (int i = 0; i < jetHalfCount; ++i) {
        outline[i][0] = jetHalf[i][0];
        outline[i][1] = jetHalf[i][1];
        outline[2 * jetHalfCount - 1 - i][0] = -jetHalf[i][0];
        outline[2 * jetHalfCount - 1 - i][1] = jetHalf[i][1];
    }
    float nearest = 1e9f;
    bool inside = false;
    for (int i = 0, j = 2 * jetHalfCount - 1; i < 2 * jetHalfCount; j = i++) {
        const float ax = outline[j][0], ay = outline[j][1];
        const float bx = outline[i][0], by = outline[i][1];
        nearest = std::min(nearest, segmentDistance(px, py, ax, ay, bx, by));
        if ((ay > py) != (by > py) && px < ax + (py - ay) * (bx - ax) / (by - ay))
            inside = !inside;
    }
    return inside ? -nearest : nearest;
}

} // namespace

bool IconBaker::bake(const std::string& resDir)
{
    ImageSaver saver;
    if (!saver.isReady())
        return false;
    return saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::Icon), 256, 256, drawIcon(256));
}

std::vector<std::uint8_t> IconBaker::drawIcon(int size)
{
    const float scale = size / 256.0f;
    const Colour skyHigh{0.09f, 0.20f, 0.42f};
    const Colour skyLow{0.56f, 0.71f, 0.86f};
    const Colour hillNear{0.13f, 0.25f, 0.11f};
    const Colour hillFar{0.28f, 0.44f, 0.22f};
    const Colour jet{0.14f, 0.16f, 0.20f};
    const Colour amber{1.0f, 0.78f, 0.22f};
    const Colour rim{0.04f, 0.05f, 0.07f};
    // The sight and the jet in it sit a little above the centre, over the sky.
    const float sightX = 128, sightY = 116, sightRadius = 78;
    const float heading = 40 * pi / 180; // the jet climbs to the right

    std::vector<std::uint8_t> rgba(std::size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Everything is laid out on the 256-pixel grid.
            const float px = (x + 0.5f) / scale;
            const float py = (y + 0.5f) / scale;

            const float horizon = 184 - 9 * std::sin(px * 0.031f + 0.4f) - 5 * std::sin(px * 0.083f + 2.0f);
            const Colour sky = mix(skyHigh, skyLow, clamp01(py / horizon));
            const Colour hills = mix(hillFar, hillNear, clamp01((py - horizon) / 50));
            Colour colour = mix(sky, hills, coverage((horizon - py) * scale));

            // The jet, turned from nose-up to its heading.
            const float jx = (px - sightX) / 0.78f;
            const float jy = (sightY - py) / 0.78f;
            const float along = jx * std::sin(heading) + jy * std::cos(heading);
            const float across = jx * std::cos(heading) - jy * std::sin(heading);
            colour = mix(colour, jet, coverage(jetDistance(across, along) * 0.78f * scale));

            // The ring sight: an amber ring and four ticks, each in a dark rim.
            const float dx = px - sightX, dy = py - sightY;
            float sight = std::fabs(std::hypot(dx, dy) - sightRadius);
            for (int k = 0; k < 4; ++k) {
                const float ux = std::cos(k * pi / 2), uy = std::sin(k * pi / 2);
                sight = std::min(sight, segmentDistance(dx, dy, ux * 58, uy * 58, ux * 100, uy * 100));
            }
            colour = mix(colour, rim, coverage((sight - 6.5f) * scale) * 0.8f);
            colour = mix(colour, amber, coverage((sight - 3.5f) * scale));

            // The tile: rounded corners, a thin dark edge.
            const float tile = roundedSquareDistance(px - 128, py - 128, 120, 40);
            colour = mix(colour, rim, coverage((-tile - 3) * scale));
            const float alpha = coverage(tile * scale);

            const std::size_t i = (std::size_t(y) * size + x) * 4;
            rgba[i + 0] = static_cast<std::uint8_t>(std::lround(clamp01(colour.r) * 255));
            rgba[i + 1] = static_cast<std::uint8_t>(std::lround(clamp01(colour.g) * 255));
            rgba[i + 2] = static_cast<std::uint8_t>(std::lround(clamp01(colour.b) * 255));
            rgba[i + 3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
        }
    }
    return rgba;
}
