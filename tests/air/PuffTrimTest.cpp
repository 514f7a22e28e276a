#include "PuffTrim.h"
#include "SmokeAffector.h"
#include "TextureLoader.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace irr;

namespace {

// The highest alpha (0 to 255) that any sample outside the middle KEPT of a
// square level of side n can have: the texels whose centres lie outside it,
// and what bilinear filtering gives on its edges between such a texel and
// the first one inside. Beyond the edges it only falls towards the former.
double highestAlphaOutside(const std::vector<u32>& level, u32 n)
{
    const auto alpha = [&](s32 x, s32 y) {
        // The smoke's texture repeats.
        const u32 wrappedX = static_cast<u32>((x + static_cast<s32>(n)) % static_cast<s32>(n));
        const u32 wrappedY = static_cast<u32>((y + static_cast<s32>(n)) % static_cast<s32>(n));
        return static_cast<double>(level[wrappedY * n + wrappedX] >> 24);
    };
    const double low = n * (1.0 - PuffTrim::KEPT) / 2.0;
    const double high = n - low;
    double highest = 0.0;
    for (u32 y = 0; y < n; ++y)
        for (u32 x = 0; x < n; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (cx < low || cx > high || cy < low || cy > high)
                highest = std::max(highest, alpha(static_cast<s32>(x), static_cast<s32>(y)));
        }
    for (const double edge : {low, high}) {
        const s32 before = static_cast<s32>(std::floor(edge - 0.5));
        const double t = edge - 0.5 - before;
        for (s32 j = 0; j < static_cast<s32>(n); ++j) {
            highest = std::max(highest, (1 - t) * alpha(before, j) + t * alpha(before + 1, j));
            highest = std::max(highest, (1 - t) * alpha(j, before) + t * alpha(j, before + 1));
        }
    }
    return highest;
}

} // namespace

TEST(PuffTrim, ParticlesAreDrawnAtTheKeptShareOfTheirSize)
{
    scene::SParticle particles[2] = {};
    particles[0].startSize = core::dimension2df(80.0f, 80.0f);
    particles[0].size = particles[0].startSize;
    particles[1].startSize = core::dimension2df(120.0f, 120.0f);
    particles[1].size = core::dimension2df(1.0f, 1.0f);
    PuffTrim* trim = new PuffTrim();
    trim->affect(0, particles, 2);
    trim->affect(50, particles, 2);   // every frame the same, never compounding
    trim->drop();
    EXPECT_EQ(particles[0].size, core::dimension2df(60.0f, 60.0f));
    EXPECT_EQ(particles[1].size, core::dimension2df(90.0f, 90.0f));
    EXPECT_EQ(particles[0].startSize, core::dimension2df(80.0f, 80.0f));
}

// The smaller squares show the middle of the texture: the texel that was at
// a given spot of a puff stays there.
TEST(PuffTrim, TheTextureRunsOverTheMiddleOfTheSmoke)
{
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    scene::IParticleSystemSceneNode* smoke = device->getSceneManager()->addParticleSystemSceneNode(true);
    ASSERT_NE(smoke, nullptr);
    const std::size_t affectors = smoke->getAffectors().size();
    PuffTrim::apply(smoke);
    EXPECT_EQ(smoke->getAffectors().size(), affectors + 1);

    const core::matrix4& texture = smoke->getMaterial(0).getTextureMatrix(0);
    const auto mapped = [&](f32 u, f32 v) {
        return core::vector2df(texture[0] * u + texture[4] * v + texture[8], texture[1] * u + texture[5] * v + texture[9]);
    };
    const f32 margin = (1.0f - PuffTrim::KEPT) / 2.0f;
    EXPECT_EQ(mapped(0.0f, 0.0f), core::vector2df(margin, margin));
    EXPECT_EQ(mapped(1.0f, 1.0f), core::vector2df(1.0f - margin, 1.0f - margin));
    EXPECT_EQ(mapped(0.5f, 0.5f), core::vector2df(0.5f, 0.5f));
    EXPECT_TRUE(smoke->getMaterial(0).getTextureMatrix(1).isIdentity());
    device->drop();
}

// Nothing that could pass the smoke's alpha test (alpha above one half) lies
// outside the kept middle of the baked puff, at any mip level the renderer
// may pick, with the levels made as the game makes them.
TEST(PuffTrim, TheBakedPuffIsClearOutsideTheKeptMiddleAtEveryLevel)
{
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    video::IVideoDriver* driver = device->getVideoDriver();
    video::IImage* loaded = driver->createImageFromFile((std::string(RES_DIR) + "/smoke.png").c_str());
    ASSERT_NE(loaded, nullptr) << "the smoke is baked with the build";
    const u32 side = loaded->getDimension().Width;
    ASSERT_EQ(loaded->getDimension().Height, side);
    video::IImage* texels = driver->createImage(video::ECF_A8R8G8B8, loaded->getDimension());
    loaded->copyTo(texels);
    const auto* first = static_cast<const u32*>(texels->lock());
    std::vector<u32> level(first, first + side * side);
    texels->unlock();
    const std::vector<u32> smaller = TextureLoader::mipLevels(level.data(), side, side);
    texels->drop();
    loaded->drop();
    device->drop();

    std::size_t offset = 0;
    for (u32 n = side; n >= 1; n /= 2) {
        // A little below 128 for the renderer's rounding of its filter weights.
        EXPECT_LE(highestAlphaOutside(level, n), 120.0) << "level of side " << n;
        if (n == 1)
            break;
        level.assign(smaller.begin() + offset, smaller.begin() + offset + (n / 2) * (n / 2));
        offset += (n / 2) * (n / 2);
    }
}

// A puff of the trail swells, lightens and fades over its life, and comes
// in softly.
TEST(SmokeAffector, APuffSwellsLightensAndFadesOverItsLife)
{
    const SmokeAffector::Look born = SmokeAffector::lookAt(0.0f, 0);
    EXPECT_FLOAT_EQ(born.scale, 1.0f);
    EXPECT_FLOAT_EQ(born.alpha, 0.0f) << "a puff pops into view";
    const SmokeAffector::Look young = SmokeAffector::lookAt(0.05f, SmokeAffector::fadeIn);
    const SmokeAffector::Look middle = SmokeAffector::lookAt(0.5f, 1500);
    const SmokeAffector::Look old = SmokeAffector::lookAt(0.95f, 2850);
    EXPECT_LT(young.scale, middle.scale);
    EXPECT_LT(middle.scale, old.scale);
    EXPECT_LE(old.scale, SmokeAffector::growth);
    EXPECT_LT(young.light, middle.light);
    EXPECT_LT(middle.light, old.light);
    EXPECT_GT(young.alpha, middle.alpha);
    EXPECT_GT(middle.alpha, old.alpha);
    EXPECT_LE(young.alpha, SmokeAffector::startAlpha);
    EXPECT_FLOAT_EQ(SmokeAffector::lookAt(1.0f, 3000).alpha, 0.0f);
    EXPECT_FLOAT_EQ(SmokeAffector::lookAt(7.0f, 9000).alpha, 0.0f) << "past its end";

    // Applied to particles: from the trim's size, the emitter's grey.
    SmokeAffector affector;
    scene::SParticle puff{};
    puff.startTime = 1000;
    puff.endTime = 4000;
    puff.startColor = video::SColor(255, 80, 80, 80);
    puff.size = core::dimension2df(60, 60);
    affector.affect(2500, &puff, 1);
    EXPECT_NEAR(puff.size.Width, 60.0f * middle.scale, 0.01f);
    EXPECT_GT(puff.color.getRed(), 80u);
    EXPECT_LT(puff.color.getRed(), SmokeAffector::pale);
    EXPECT_NEAR(puff.color.getAlpha(), middle.alpha * 255.0f, 1.0f);
}
