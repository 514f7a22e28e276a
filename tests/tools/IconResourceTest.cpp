// The desktop icon, read back through the engine's image loader.

#include "NullEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

using namespace irr;

TEST(IconImage, IsAnOpaqueRoundedTileWithTheAmberSightRoundADarkJet)
{
    NullEngine engine;
    video::IImage* icon = engine.getDevice()->getVideoDriver()->createImageFromFile(RES_DIR "/icon.png");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->getDimension(), core::dimension2du(256, 256));
    EXPECT_EQ(icon->getColorFormat(), video::ECF_A8R8G8B8);

    // Clear round the tile's corners, opaque within it.
    for (const auto& corner : {core::vector2di(0, 0), core::vector2di(255, 0), core::vector2di(0, 255), core::vector2di(255, 255),
                               core::vector2di(14, 14)})
        EXPECT_EQ(icon->getPixel(corner.X, corner.Y).getAlpha(), 0u) << corner.X << "," << corner.Y;
    for (int i = 12; i < 244; i += 8) {
        EXPECT_EQ(icon->getPixel(i, 128).getAlpha(), 255u) << i;
        EXPECT_EQ(icon->getPixel(128, i).getAlpha(), 255u) << i;
    }

    // Sky above, green hills below, the dark jet at the sight's centre and
    // the ring bright amber beside it.
    const video::SColor sky = icon->getPixel(70, 40);
    const video::SColor hills = icon->getPixel(60, 225);
    const video::SColor jet = icon->getPixel(128, 116);
    const video::SColor ring = icon->getPixel(128 + 78, 116);
    EXPECT_GT(sky.getBlue(), sky.getRed() + 40);
    EXPECT_GT(hills.getGreen(), hills.getBlue() + 20);
    EXPECT_LT(jet.getLuminance(), 60.0f);
    EXPECT_GT(ring.getRed(), 230u);
    EXPECT_GT(ring.getGreen(), 160u);
    EXPECT_LT(ring.getBlue(), 100u);
    icon->drop();
}
