#include "SpriteBaker.h"

#include "BakeRegistry.h"
#include "ImageSaver.h"
#include "PerlinNoise.h"
#include "ResourceTable.h"

#include <algorithm>
#include <cmath>

namespace {

const BakeRegistry::Registration registration("sprites", &SpriteBaker::bake);

const float pi = 3.14159265358979f;

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

std::uint8_t toByte(float v)
{
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

void putPixel(std::vector<std::uint8_t>& rgba, int index, float r, float g, float b, float a)
{
    rgba[index * 4 + 0] = toByte(r);
    rgba[index * 4 + 1] = toByte(g);
    rgba[index * 4 + 2] = toByte(b);
    rgba[index * 4 + 3] = toByte(a);
}

// Distance from p to the segment a-b.
float segmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax;
    const float dy = by - ay;
    const float t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy));
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Distance from p (relative to the centre) to a circle arc of the given
// radius spanning the angles from..to (radians, counter-clockwise).
float arcDistance(float px, float py, float radius, float from, float to)
{
    float angle = std::atan2(py, px);
    while (angle < from)
        angle += 2 * pi;
    if (angle <= to)
        return std::fabs(std::hypot(px, py) - radius);
    const float d1 = std::hypot(px - radius * std::cos(from), py - radius * std::sin(from));
    const float d2 = std::hypot(px - radius * std::cos(to), py - radius * std::sin(to));
    return std::min(d1, d2);
}

// Length factor of each flash spike, fixed so the flash looks torn rather
// than regular: four long blast spikes and twelve short tongues.
const float spikeLength[16] = {1.0f, 0.62f, 0.55f, 0.66f, 0.9f, 0.58f, 0.64f, 0.52f, 0.96f, 0.6f, 0.54f, 0.68f,
    0.84f, 0.57f, 0.63f, 0.5f};

} // namespace

bool SpriteBaker::bake(const std::string& resDir)
{
    ImageSaver saver;
    if (!saver.isReady())
        return false;
    bool ok = saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::Crosshair), 256, 256, drawCrosshair(256));
    ok = saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::MuzzleFlash), 256, 256, drawMuzzleFlash(256)) && ok;
    ok = saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::Smoke), 128, 128, drawSmokePuff(128, 1, false)) && ok;
    ok = saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::Smoke1), 128, 128, drawSmokePuff(128, 2, true)) && ok;
    ok = saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::Fireball), 256, 256, drawFireball(256)) && ok;
    return ok;
}

std::vector<std::uint8_t> SpriteBaker::drawCrosshair(int size)
{
    // A ring sight: a centre dot, a short cross, an inner ring, a dashed
    // middle lead ring and an outer lead ring with ticks. Each line is a
    // thin amber core in a dark rim, so it reads over bright sky and over
    // dark ground alike.
    const float c = size * 0.5f;
    const float scale = size / 256.0f;
    const float inner = 40 * scale;
    const float middle = 80 * scale;
    const float outer = 118 * scale;
    std::vector<std::uint8_t> rgba(size * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f - c;
            const float py = y + 0.5f - c;
            const float radius = std::hypot(px, py);
            float d = std::max(0.0f, radius - 2.2f * scale); // centre dot
            d = std::min(d, std::fabs(radius - inner));
            d = std::min(d, std::fabs(radius - outer));
            // Dashed middle ring: 24 dashes, each 10 degrees long.
            for (int k = 0; k < 24; ++k) {
                const float from = (k * 15.0f - 5.0f) * pi / 180.0f;
                d = std::min(d, arcDistance(px, py, middle, from, from + 10.0f * pi / 180.0f));
            }
            // A radial stroke from one radius to another at the given angle.
            auto spoke = [&](float angle, float from, float to) {
                const float ux = std::cos(angle) * scale;
                const float uy = std::sin(angle) * scale;
                return segmentDistance(px, py, ux * from, uy * from, ux * to, uy * to);
            };
            for (int k = 0; k < 4; ++k) {
                // The cross, clear of the dot, and the long ticks across the outer ring.
                d = std::min(d, spoke(k * pi / 2, 9, 24));
                d = std::min(d, spoke(k * pi / 2, 88, 126));
                // Short ticks on the diagonals.
                d = std::min(d, spoke(k * pi / 2 + pi / 4, 110, 124));
            }
            // Coverage of the core line (about 1.6 pixels wide) and of the rim
            // around it, both anti-aliased over one pixel.
            const float core = clamp01(0.8f * scale + 0.5f - d);
            const float rim = clamp01(2.1f * scale + 0.5f - d);
            const float alpha = core + (1 - core) * rim * 0.75f;
            const float r = core * 1.0f + (1 - core) * 0.05f;
            const float g = core * 0.86f + (1 - core) * 0.04f;
            const float b = core * 0.42f + (1 - core) * 0.02f;
            putPixel(rgba, y * size + x, r, g, b, alpha);
        }
    }
    return rgba;
}

std::vector<std::uint8_t> SpriteBaker::drawMuzzleFlash(int size)
{
    // A star of spikes of uneven length round a round fireball: white hot in
    // the middle, yellow, then orange towards the spike tips.
    const float c = size * 0.5f;
    const float outerRadius = size * 0.48f;
    const float edgeWidth = 2.0f; // pixels over which alpha climbs from 0 to 1
    std::vector<std::uint8_t> rgba(size * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f - c;
            const float py = y + 0.5f - c;
            const float rho = std::hypot(px, py);
            const float angle = std::atan2(py, px);
            float reach = 0.40f + 0.03f * std::sin(angle * 11.0f);
            for (int k = 0; k < 16; ++k) {
                const float spikeAngle = k * pi / 8 + 0.2f;
                const float lobe = std::max(0.0f, std::cos(angle - spikeAngle));
                reach = std::max(reach, spikeLength[k] * std::pow(lobe, k % 4 == 0 ? 14.0f : 36.0f));
            }
            const float edge = reach * outerRadius;
            const float alpha = clamp01(0.5f + (edge - rho) / edgeWidth);
            // Colour from the centre out, also beyond the edge so that
            // filtering at the cut picks up flame colour, not black.
            const float t = clamp01(rho / edge);
            const float hot = clamp01(1.25f - rho / (0.2f * outerRadius));
            const float r = 1.0f;
            const float g = 0.55f + 0.45f * clamp01(1.0f - t * 0.9f) + 0.1f * hot;
            const float b = 0.12f + 0.88f * hot * hot;
            putPixel(rgba, y * size + x, r, g, b, alpha);
        }
    }
    return rgba;
}

std::vector<std::uint8_t> SpriteBaker::drawSmokePuff(int size, std::uint32_t puffNumber, bool dark)
{
    // A billow of a few overlapping round lobes with a torn outline: the
    // lobes give the body, fractal noise bites into the edge and mottles
    // the inside. Lit from above, so lobes are lighter on top.
    const PerlinNoise noise(0x5140u + puffNumber);
    struct Lobe {
        float x, y, radius;
    };
    const Lobe lobes[5] = {{0.0f, 0.05f, 0.30f}, {-0.17f, 0.10f, 0.22f}, {0.18f, 0.08f, 0.21f},
        {-0.06f, -0.14f, 0.22f}, {0.12f, -0.12f, 0.18f}};
    std::vector<std::uint8_t> rgba(size * size * 4);
    const float base = dark ? 0.52f : 0.86f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size - 0.5f;
            const float v = (y + 0.5f) / size - 0.5f;
            float density = 0;
            float light = 0;
            for (const Lobe& lobe : lobes) {
                const float dx = u - lobe.x;
                const float dy = v - lobe.y;
                const float inside = 1.0f - (dx * dx + dy * dy) / (lobe.radius * lobe.radius);
                if (inside > 0) {
                    density = std::max(density, inside);
                    // Upper half of a lobe faces the sun (rows grow downwards).
                    light = std::max(light, inside * clamp01(0.5f - dy / lobe.radius * 0.5f));
                }
            }
            const float rough = noise.fractal(u * 6.0f, v * 6.0f, 4);
            const float fine = noise.fractal(u * 18.0f + 40.0f, v * 18.0f, 3);
            // Keep the torn edge inside the image: fade the lobes to nothing
            // before the border whatever the noise does.
            const float border = clamp01((0.5f - std::max(std::fabs(u), std::fabs(v))) / 0.06f);
            // Noise alone never makes a speck away from the lobes.
            const float shape = (density + 0.45f * rough * clamp01(density * 4.0f + 0.3f)) * border;
            // A soft edge, thinning over a fifth of the lobes' depth: the smoke
            // is blended, and a billow has no hard outline.
            const float soft = clamp01((shape - 0.06f) / 0.34f);
            const float alpha = soft * soft * (3.0f - 2.0f * soft);
            const float shade = base * (0.72f + 0.28f * light + 0.12f * fine);
            putPixel(rgba, y * size + x, shade, shade, shade * 1.02f, alpha);
        }
    }
    return rgba;
}

std::vector<std::uint8_t> SpriteBaker::drawFireball(int size)
{
    // A ball of burning fuel seen a moment after the blast: a lumpy outline
    // of billows, white-yellow where it burns hottest, through orange and
    // deep red to a rim of soot. The heat is mottled, hotter towards the
    // middle, so the ball reads as turbulent flame, not as a disc.
    const PerlinNoise noise(0xF1AEu);
    struct Stop {
        float heat, r, g, b;
    };
    const Stop ramp[] = {{0.0f, 0.16f, 0.08f, 0.05f}, {0.3f, 0.62f, 0.14f, 0.03f}, {0.55f, 0.98f, 0.42f, 0.06f},
        {0.8f, 1.0f, 0.78f, 0.28f}, {1.0f, 1.0f, 0.96f, 0.78f}};
    std::vector<std::uint8_t> rgba(size * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // u, v from -1 to 1 across the image.
            const float u = (x + 0.5f) / size * 2.0f - 1.0f;
            const float v = (y + 0.5f) / size * 2.0f - 1.0f;
            const float rho = std::hypot(u, v);
            // The outline: billows round the rim, read on a circle so that
            // the shape closes on itself.
            const float angle = std::atan2(v, u);
            const float lumps = noise.fractal(std::cos(angle) * 1.3f + 5.0f, std::sin(angle) * 1.3f, 3);
            const float edge = 0.72f + 0.2f * lumps + 0.06f * noise.fractal(u * 4.0f, v * 4.0f, 3);
            const float t = rho / edge;
            // Soft for blending, and nothing at all near the image's border.
            const float alpha = clamp01((1.0f - t) / 0.16f) * clamp01((0.98f - rho) / 0.04f);
            const float mottle = noise.fractal(u * 5.0f + 17.0f, v * 5.0f - 3.0f, 4);
            const float heat = clamp01(1.04f - 1.0f * t * t + 0.5f * mottle);
            int k = 1;
            while (k < 4 && ramp[k].heat < heat)
                ++k;
            const float f = clamp01((heat - ramp[k - 1].heat) / (ramp[k].heat - ramp[k - 1].heat));
            putPixel(rgba, y * size + x, ramp[k - 1].r + f * (ramp[k].r - ramp[k - 1].r),
                ramp[k - 1].g + f * (ramp[k].g - ramp[k - 1].g), ramp[k - 1].b + f * (ramp[k].b - ramp[k - 1].b),
                alpha);
        }
    }
    return rgba;
}
