#include "TextureLoader.h"

#include "EngineContext.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace irr;

namespace {

u32 argb(u32 a, u32 r, u32 g, u32 b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// A level of a texture as the renderer holds it, read back texel by texel.
std::vector<u32> levelOf(video::ITexture* texture, u32 level)
{
    const u32 width = std::max(texture->getSize().Width >> level, 1u);
    const u32 height = std::max(texture->getSize().Height >> level, 1u);
    const auto* texels = static_cast<const u32*>(texture->lock(video::ETLM_READ_ONLY, level));
    std::vector<u32> copy;
    if (texels)
        copy.assign(texels, texels + width * height);
    texture->unlock();
    return copy;
}

} // namespace

// Each channel rounds on its own: the pair in a row first, then the pair of rows.
TEST(TextureLoaderLevels, EachTexelIsTheMeanOfPairsOfPairsRoundedUp)
{
    // 2 x 2 to 1 x 1. Red: the mean of 0 and 1 rounds up to 1 in either row,
    // so 1, where the mean of all four, 0.5, might have gone down to 0.
    const u32 square[] = {argb(255, 0, 10, 200), argb(255, 1, 11, 201), argb(255, 1, 12, 203), argb(255, 0, 13, 202)};
    const std::vector<u32> one = TextureLoader::mipLevels(square, 2, 2);
    ASSERT_EQ(one.size(), 1u);
    // Green: 11 and 13, then 12; blue: 201 and 203, then 202; alpha stays 255.
    EXPECT_EQ(one[0], argb(255, 1, 12, 202));

    // A 4 x 2 picture goes 2 x 1, then 1 x 1: three texels, level after level.
    const u32 wide[] = {argb(0, 0, 0, 0), argb(255, 255, 255, 255), argb(10, 20, 30, 40), argb(10, 20, 30, 40),
                        argb(0, 0, 0, 0), argb(255, 255, 255, 255), argb(12, 22, 32, 42), argb(12, 22, 32, 42)};
    const std::vector<u32> levels = TextureLoader::mipLevels(wide, 4, 2);
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0], argb(128, 128, 128, 128));
    EXPECT_EQ(levels[1], argb(11, 21, 31, 41));
    EXPECT_EQ(levels[2], argb(70, 75, 80, 85));

    EXPECT_EQ(TextureLoader::mipLevels(square, 1, 1).size(), 0u);
    std::vector<u32> big(256 * 256, argb(1, 2, 3, 4));
    const std::vector<u32> chain = TextureLoader::mipLevels(big.data(), 256, 256);
    EXPECT_EQ(chain.size(), (256u * 256u - 1u) / 3u);
    for (u32 texel : chain)
        ASSERT_EQ(texel, argb(1, 2, 3, 4));

    // Every pair of channel values, each channel a different pair, so that a
    // carry or borrow between channels would show: a 2 x 1 picture gives the
    // rounded-up mean of its two texels.
    for (u32 a = 0; a < 256; ++a) {
        for (u32 b = 0; b < 256; ++b) {
            const u32 pair[] = {argb(a, 255 - a, b, a ^ b), argb(b, 255 - b, a, 255 - (a ^ b))};
            const auto up = [](u32 x, u32 y) { return (x + y + 1) / 2; };
            ASSERT_EQ(TextureLoader::mipLevels(pair, 2, 1)[0],
                      argb(up(a, b), up(255 - a, 255 - b), up(b, a), up(a ^ b, 255 - (a ^ b))))
                << a << ", " << b;
        }
    }
}

class TextureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "needs an X display";
        driver = getVideoDriver();
    }

    void TearDown() override
    {
        for (const std::string& file : scratchFiles)
            std::filesystem::remove(file);
    }

    // A picture of random texels and edges of alpha, written where the test
    // can load it under two names.
    std::string writePicture(u32 side, const std::string& name)
    {
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(side, side));
        std::mt19937 random(side);
        for (u32 y = 0; y < side; ++y)
            for (u32 x = 0; x < side; ++x)
                image->setPixel(x, y, video::SColor(x < side / 4 ? 0 : 255, random() % 256, random() % 256, random() % 256));
        const std::string file = (std::filesystem::temp_directory_path() / name).string();
        EXPECT_TRUE(driver->writeImageToFile(image, file.c_str()));
        image->drop();
        scratchFiles.push_back(file);
        return file;
    }

    video::IVideoDriver* driver = nullptr;
    std::vector<std::string> scratchFiles;
};

// The levels made here are those the renderer makes itself, texel for texel,
// so that what is drawn stays the same; the picture itself is untouched.
TEST_F(TextureLoaderTest, MipLevelsAreTheRenderersOwn)
{
    for (const std::string& picture : {std::string("../res/smoke.png"), writePicture(64, "torvel-mips-a.png")}) {
        SCOPED_TRACE(picture);
        const std::string copy = (std::filesystem::temp_directory_path() / "torvel-mips-engine.png").string();
        std::filesystem::copy_file(picture, copy, std::filesystem::copy_options::overwrite_existing);
        scratchFiles.push_back(copy);

        video::ITexture* ours = TextureLoader::mipMapped(driver, picture.c_str());
        video::ITexture* engines = driver->getTexture(copy.c_str());
        ASSERT_NE(ours, nullptr);
        ASSERT_NE(engines, nullptr);
        ASSERT_TRUE(ours->hasMipMaps());
        ASSERT_EQ(ours->getSize(), engines->getSize());
        u32 levels = 0;
        for (u32 side = ours->getSize().Width; side >= 1; side /= 2, ++levels) {
            const std::vector<u32> expected = levelOf(engines, levels);
            ASSERT_FALSE(expected.empty());
            EXPECT_TRUE(levelOf(ours, levels) == expected) << "level " << levels;
        }
        EXPECT_GE(levels, 7u);
        driver->removeTexture(engines);
    }
}

TEST_F(TextureLoaderTest, ALoadedPictureIsFoundAgainByEitherWay)
{
    video::ITexture* first = TextureLoader::mipMapped(driver, "../res/smoke1.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TextureLoader::mipMapped(driver, "../res/smoke1.png"), first);
    EXPECT_EQ(driver->getTexture("../res/smoke1.png"), first);
    EXPECT_EQ(TextureLoader::mipMapped(driver, "../res/./smoke1.png"), first);
}

TEST_F(TextureLoaderTest, FlatPicturesHaveNoMipLevelsAndTheDriverKeepsItsDefault)
{
    video::ITexture* crosshair = TextureLoader::flat(driver, "../res/crosshair.png");
    ASSERT_NE(crosshair, nullptr);
    EXPECT_FALSE(crosshair->hasMipMaps());
    EXPECT_TRUE(driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS));
    EXPECT_TRUE(TextureLoader::mipMapped(driver, "../res/mflash.png")->hasMipMaps());
}

TEST_F(TextureLoaderTest, MissingOrOddSizedPicturesAreLeftToTheEngine)
{
    EXPECT_EQ(TextureLoader::mipMapped(driver, "../res/no-such-picture.png"), nullptr);

    video::ITexture* odd = TextureLoader::mipMapped(driver, writePicture(48, "torvel-mips-odd.png").c_str());
    ASSERT_NE(odd, nullptr);
    EXPECT_TRUE(odd->hasMipMaps());
}
