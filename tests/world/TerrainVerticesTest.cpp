#include "TerrainVertices.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

using namespace irr;
using core::vector3df;

namespace {

const vector3df flattening(1.0f, 0.1f, 1.0f);

// The engine without a window: terrains are built the same on its null driver.
class TerrainVerticesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = createDevice(video::EDT_NULL);
        ASSERT_NE(device, nullptr);
        device->getLogger()->setLogLevel(ELL_NONE);
    }

    void TearDown() override
    {
        if (device)
            device->drop();
        if (!scratchFile.empty())
            std::filesystem::remove(scratchFile);
    }

    scene::ITerrainSceneNode* load(const std::string& heightMap, const vector3df& scale)
    {
        return device->getSceneManager()->addTerrainSceneNode(
            heightMap.c_str(), nullptr, -1, vector3df(0, 0, 0), vector3df(0, 0, 0), scale,
            video::SColor(255, 255, 255, 255), 5, scene::ETPS_17, 0, false);
    }

    // The terrain as the engine's own steps make it: loaded unscaled, flattened
    // with setScale, then centred with the centre it reports after that.
    scene::ITerrainSceneNode* buildInSteps(const std::string& heightMap)
    {
        scene::ITerrainSceneNode* terrain = load(heightMap, vector3df(1, 1, 1));
        terrain->setScale(flattening);
        const vector3df centre = terrain->getTerrainCenter();
        terrain->setPosition(vector3df(-centre.X, -(centre.Y + 10.0f), -centre.Z));
        return terrain;
    }

    // The terrain as the game makes it: loaded flattened, centred in one pass.
    scene::ITerrainSceneNode* buildInOnePass(const std::string& heightMap)
    {
        scene::ITerrainSceneNode* terrain = load(heightMap, flattening);
        TerrainVertices::centreBelowOrigin(terrain, flattening, 10.0f);
        return terrain;
    }

    // A height map of random colours, so that the heights (the lightness,
    // half the sum of the largest and smallest channel) include halves.
    std::string randomHeightMap(u32 side, u32 startValue)
    {
        if (!scratchFile.empty())
            std::filesystem::remove(scratchFile);
        video::IVideoDriver* driver = device->getVideoDriver();
        video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2du(side, side));
        std::mt19937 random(startValue);
        for (u32 y = 0; y < side; ++y)
            for (u32 x = 0; x < side; ++x)
                image->setPixel(x, y, video::SColor(255, random() % 256, random() % 256, random() % 256));
        scratchFile = (std::filesystem::temp_directory_path()
                       / ("torvel-heights-" + std::to_string(side) + "-" + std::to_string(startValue) + ".png")).string();
        const bool written = driver->writeImageToFile(image, scratchFile.c_str());
        image->drop();
        EXPECT_TRUE(written);
        return scratchFile;
    }

    // Every position and normal, compared bit for bit; texture coordinates
    // and colours are the engine's own in both.
    void expectSameVertices(scene::ITerrainSceneNode* steps, scene::ITerrainSceneNode* onePass)
    {
        scene::IMeshBuffer* expected = steps->getRenderBuffer();
        scene::IMeshBuffer* actual = onePass->getRenderBuffer();
        ASSERT_EQ(actual->getVertexCount(), expected->getVertexCount());
        const auto* want = static_cast<const video::S3DVertex2TCoords*>(expected->getVertices());
        const auto* got = static_cast<const video::S3DVertex2TCoords*>(actual->getVertices());
        u32 differing = 0;
        for (u32 i = 0; i < expected->getVertexCount(); ++i) {
            const bool same = std::memcmp(&want[i].Pos, &got[i].Pos, sizeof want[i].Pos) == 0
                && std::memcmp(&want[i].Normal, &got[i].Normal, sizeof want[i].Normal) == 0
                && want[i].TCoords == got[i].TCoords && want[i].Color == got[i].Color;
            if (!same && differing++ < 3)
                ADD_FAILURE() << "vertex " << i << ": position (" << got[i].Pos.X << ", " << got[i].Pos.Y
                              << ", " << got[i].Pos.Z << ") normal (" << got[i].Normal.X << ", "
                              << got[i].Normal.Y << ", " << got[i].Normal.Z << "), expected ("
                              << want[i].Pos.X << ", " << want[i].Pos.Y << ", " << want[i].Pos.Z
                              << ") normal (" << want[i].Normal.X << ", " << want[i].Normal.Y << ", "
                              << want[i].Normal.Z << ")";
        }
        EXPECT_EQ(differing, 0u) << "of " << expected->getVertexCount() << " vertices";

        // The node as the scene manager sees it, to place and cull it.
        EXPECT_EQ(onePass->getAbsoluteTransformation(), steps->getAbsoluteTransformation());
        const core::aabbox3df box = onePass->getTransformedBoundingBox();
        const core::aabbox3df expectedBox = steps->getTransformedBoundingBox();
        EXPECT_NEAR(box.MinEdge.Y, expectedBox.MinEdge.Y, 1e-4f);
        EXPECT_NEAR(box.MaxEdge.Y, expectedBox.MaxEdge.Y, 1e-4f);
        EXPECT_NEAR(box.MaxEdge.X - box.MinEdge.X, expectedBox.MaxEdge.X - expectedBox.MinEdge.X, 1e-4f);
        EXPECT_EQ(onePass->getPosition(), steps->getPosition());
        EXPECT_EQ(onePass->getScale(), steps->getScale());
        const vector3df centre = onePass->getTerrainCenter();
        EXPECT_NEAR(centre.X, 0.0f, 1e-4f);
        EXPECT_NEAR(centre.Y, -10.0f, 1e-4f);
        EXPECT_NEAR(centre.Z, 0.0f, 1e-4f);
        // The heights the engine reports come from its unscaled copy: the same.
        for (const f32 x : {-100.5f, 0.0f, 37.25f})
            for (const f32 z : {-60.0f, 0.0f, 12.75f})
                EXPECT_EQ(onePass->getHeight(x, z), steps->getHeight(x, z));
    }

    IrrlichtDevice* device = nullptr;
    std::string scratchFile;   // a height map written by the test, removed after it
};

} // namespace

TEST_F(TerrainVerticesTest, TheGamesHeightMapGivesTheSameVerticesInOnePass)
{
    const std::string heightMap = std::string(RES_DIR) + "/heightmap.png";
    ASSERT_TRUE(std::filesystem::exists(heightMap)) << heightMap << " is baked with the build";
    expectSameVertices(buildInSteps(heightMap), buildInOnePass(heightMap));
}

// Random heights with halves in them, on sides whole patches fit and sides
// they do not (the engine's box then leaves the last rows out).
TEST_F(TerrainVerticesTest, RandomHeightMapsGiveTheSameVerticesInOnePass)
{
    for (const u32 side : {17u, 129u, 100u, 2u}) {
        SCOPED_TRACE("side " + std::to_string(side));
        const std::string heightMap = randomHeightMap(side, side * 7919u);
        expectSameVertices(buildInSteps(heightMap), buildInOnePass(heightMap));
        device->getSceneManager()->clear();
    }
}

TEST(TerrainVerticesSide, SquareCountsHaveASideOthersNone)
{
    EXPECT_EQ(TerrainVertices::sideOf(1050625u), 1025u);
    EXPECT_EQ(TerrainVertices::sideOf(1u), 1u);
    EXPECT_EQ(TerrainVertices::sideOf(0u), 0u);
    EXPECT_EQ(TerrainVertices::sideOf(1050624u), 0u);
}
