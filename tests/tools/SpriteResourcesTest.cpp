// The baked sprites, read back through the engine's image loader.

#include "NullEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>
#include <string>

using namespace irr;

namespace {

class LoadedImage {
public:
    explicit LoadedImage(const char* name)
    {
        image = engine.getDevice()->getVideoDriver()->createImageFromFile((std::string(RES_DIR) + "/" + name).c_str());
    }
    ~LoadedImage()
    {
        if (image)
            image->drop();
    }

    video::SColor at(int x, int y) const { return image->getPixel(x, y); }
    int width() const { return static_cast<int>(image->getDimension().Width); }
    int height() const { return static_cast<int>(image->getDimension().Height); }

    NullEngine engine;
    video::IImage* image;
};

void expectAlphaImage(const LoadedImage& loaded, int width, int height)
{
    ASSERT_NE(loaded.image, nullptr);
    EXPECT_EQ(loaded.width(), width);
    EXPECT_EQ(loaded.height(), height);
    EXPECT_EQ(loaded.image->getColorFormat(), video::ECF_A8R8G8B8);
}

// Share of the visible pixels whose alpha lies in the soft band round the
// alpha-test threshold: small for an edge that cuts cleanly.
double softEdgeShare(const LoadedImage& loaded)
{
    int visible = 0;
    int soft = 0;
    for (int y = 0; y < loaded.height(); ++y) {
        for (int x = 0; x < loaded.width(); ++x) {
            const u32 alpha = loaded.at(x, y).getAlpha();
            visible += alpha > 127;
            soft += alpha > 40 && alpha < 215;
        }
    }
    return visible ? static_cast<double>(soft) / visible : 1.0;
}

// Whether no pixel on the image border would pass the alpha test, so the
// shape never ends in a straight cut at the billboard's edge.
bool borderIsClear(const LoadedImage& loaded)
{
    for (int i = 0; i < loaded.width(); ++i) {
        for (int edge : {0, loaded.width() - 1}) {
            if (loaded.at(i, edge).getAlpha() > 127 || loaded.at(edge, i).getAlpha() > 127)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(CrosshairImage, IsARingSightOfBrightLinesWithDarkEdges)
{
    const LoadedImage crosshair("crosshair.png");
    expectAlphaImage(crosshair, 256, 256);
    // Centre dot, clear corners, clear space between the inner and the
    // dashed ring.
    const video::SColor centre = crosshair.at(128, 128);
    EXPECT_GT(centre.getAlpha(), 200u);
    EXPECT_GT(centre.getLuminance(), 150.0f);
    EXPECT_EQ(crosshair.at(0, 0).getAlpha(), 0u);
    EXPECT_EQ(crosshair.at(255, 255).getAlpha(), 0u);
    EXPECT_EQ(crosshair.at(128 + 42, 128 + 42).getAlpha(), 0u);

    // Walking out from the centre along a diagonal, pixel by pixel, we cross
    // the inner ring, the dashed ring and the outer ring's tick: each shows
    // a bright opaque core with a dark, visible rim just inside it.
    int rings = 0;
    bool inRing = false;
    for (int k = 2; k < 126; ++k) {
        const video::SColor pixel = crosshair.at(128 + k, 127 - k);
        const bool bright = pixel.getAlpha() > 200 && pixel.getLuminance() > 150.0f;
        if (bright && !inRing) {
            ++rings;
            const video::SColor before = crosshair.at(128 + k - 1, 127 - k + 1);
            EXPECT_LT(before.getLuminance(), 60.0f) << "at step " << k;
            EXPECT_GT(before.getAlpha(), 60u) << "at step " << k;
        }
        inRing = bright;
    }
    EXPECT_GE(rings, 3);
    // Symmetric about the centre.
    for (int r = 10; r < 120; r += 3)
        EXPECT_NEAR(crosshair.at(128 + r, 128).getAlpha(), crosshair.at(128, 128 + r).getAlpha(), 40.0) << r;
}

TEST(MuzzleFlashImage, IsAStarWithAHotCoreAndACleanCut)
{
    const LoadedImage flash("mflash.png");
    ASSERT_NE(flash.image, nullptr);
    expectAlphaImage(flash, flash.width(), flash.width());
    const int size = flash.width();
    const video::SColor core = flash.at(size / 2, size / 2);
    EXPECT_EQ(core.getAlpha(), 255u);
    EXPECT_GT(core.getRed(), 240u);
    EXPECT_GT(core.getGreen(), 220u);
    EXPECT_GT(core.getBlue(), 150u);
    EXPECT_TRUE(borderIsClear(flash));
    EXPECT_LT(softEdgeShare(flash), 0.08);

    // Round a circle outside the core the spikes come and go: a star, not a disc.
    int spikes = 0;
    bool inSpike = false;
    bool first = false;
    for (int step = 0; step < 720; ++step) {
        const double angle = step * M_PI / 360.0;
        const int x = size / 2 + static_cast<int>(std::lround(std::cos(angle) * size * 0.3));
        const int y = size / 2 + static_cast<int>(std::lround(std::sin(angle) * size * 0.3));
        const bool opaque = flash.at(x, y).getAlpha() > 127;
        if (step == 0)
            first = opaque;
        if (opaque && !inSpike)
            ++spikes;
        inSpike = opaque;
    }
    if (first && inSpike)
        --spikes; // the spike at angle 0 was counted at both ends
    EXPECT_GE(spikes, 6);
    // Flame colours even where the flash is cut away, so filtering at the
    // edge does not darken it.
    const video::SColor corner = flash.at(0, 0);
    EXPECT_GT(corner.getRed(), 200u);
}

TEST(SmokeImages, AreSoftGreyPuffsInsideTheirBillboards)
{
    for (const char* name : {"smoke.png", "smoke1.png"}) {
        SCOPED_TRACE(name);
        const LoadedImage puff(name);
        ASSERT_NE(puff.image, nullptr);
        expectAlphaImage(puff, puff.width(), puff.width());
        const int size = puff.width();
        EXPECT_GE(size, 64);
        const video::SColor centre = puff.at(size / 2, size / 2);
        EXPECT_EQ(centre.getAlpha(), 255u);
        // Grey: no colour cast, so the emitter's colours tint it.
        EXPECT_NEAR(centre.getRed(), centre.getGreen(), 12.0);
        EXPECT_NEAR(centre.getGreen(), centre.getBlue(), 12.0);
        EXPECT_TRUE(borderIsClear(puff));
        // Blended, not cut: the edge thins over a band of partial alpha.
        EXPECT_GT(softEdgeShare(puff), 0.1);
        int visible = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                visible += puff.at(x, y).getAlpha() > 127;
        EXPECT_GT(visible, size * size / 4);
        EXPECT_LT(visible, size * size * 3 / 4);
    }
    // Two different puffs, the second darker.
    const LoadedImage first("smoke.png");
    const LoadedImage second("smoke1.png");
    const int middle = first.width() / 2;
    EXPECT_GT(first.at(middle, middle).getLuminance(), second.at(middle, middle).getLuminance() + 30.0f);
}

TEST(FireballImage, IsAHotRoundBallWithASoftEdge)
{
    const LoadedImage fireball("fireball.png");
    expectAlphaImage(fireball, 256, 256);
    const video::SColor core = fireball.at(128, 128);
    EXPECT_EQ(core.getAlpha(), 255u);
    EXPECT_GT(core.getLuminance(), 200.0f);
    EXPECT_TRUE(borderIsClear(fireball));
    // Blended, not cut: a wide band of partial alpha round the ball.
    EXPECT_GT(softEdgeShare(fireball), 0.1);

    // Round a circle at a third of the size it is solid everywhere; at
    // every angle it cools outwards from white through orange to red,
    // never blue or green.
    for (int step = 0; step < 36; ++step) {
        const double angle = step * M_PI / 18.0;
        const int x = 128 + static_cast<int>(std::lround(std::cos(angle) * 40));
        const int y = 128 + static_cast<int>(std::lround(std::sin(angle) * 40));
        EXPECT_GT(fireball.at(x, y).getAlpha(), 200u) << step;
        for (int r = 0; r < 120; r += 8) {
            const video::SColor pixel = fireball.at(128 + static_cast<int>(std::cos(angle) * r),
                                                    128 + static_cast<int>(std::sin(angle) * r));
            if (pixel.getAlpha() < 64)
                continue;
            EXPECT_GE(pixel.getRed(), pixel.getGreen()) << step << " " << r;
            EXPECT_GE(pixel.getGreen(), pixel.getBlue()) << step << " " << r;
        }
    }
}
