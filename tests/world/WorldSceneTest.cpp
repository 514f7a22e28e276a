#include "ScratchGame.h"
#include "TorvelApp.h"
#include "EngineContext.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace irr;

namespace {

class WorldSceneTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        app.reset();
        destroyEngineContext();
    }

    void startGame()
    {
        app = std::make_unique<TorvelApp>();
        ASSERT_TRUE(app->getFireUnit().isReady());
    }

    scene::ISceneNode* root() const { return getSceneManager()->getRootSceneNode(); }

    std::vector<scene::ISceneNode*> rootChildren(scene::ESCENE_NODE_TYPE type) const
    {
        std::vector<scene::ISceneNode*> found;
        for (scene::ISceneNode* child : root()->getChildren())
            if (child->getType() == type)
                found.push_back(child);
        return found;
    }

    ScratchGame game;             // first: it moves into the scratch bin/
    std::unique_ptr<TorvelApp> app;
};

void collect(scene::ISceneNode* node, std::vector<scene::ISceneNode*>& into)
{
    into.push_back(node);
    for (scene::ISceneNode* child : node->getChildren())
        collect(child, into);
}

std::string fileName(const video::ITexture* texture)
{
    if (!texture)
        return "(none)";
    const std::string path = texture->getName().getPath().c_str();
    return path.substr(path.find_last_of('/') + 1);
}

void expectNear(const core::vector3df& actual, const core::vector3df& expected)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-3f);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3f);
    EXPECT_NEAR(actual.Z, expected.Z, 1e-3f);
}

// The fog the world leaves in the driver: exponential, per vertex, blue-grey.
void expectWorldFog()
{
    video::SColor colour;
    video::E_FOG_TYPE type;
    f32 start, end, density;
    bool pixelFog, rangeFog;
    getVideoDriver()->getFog(colour, type, start, end, density, pixelFog, rangeFog);
    EXPECT_EQ(colour.color, 0x00637AC1u);
    EXPECT_EQ(type, video::EFT_FOG_EXP);
    EXPECT_FLOAT_EQ(start, 100.0f);
    EXPECT_FLOAT_EQ(end, 300.0f);
    EXPECT_FLOAT_EQ(density, 0.01f);
    EXPECT_FALSE(pixelFog);
    EXPECT_FALSE(rangeFog);
}

} // namespace

TEST_F(WorldSceneTest, BuildingAddsSkyBoxTerrainAndLightUnderTheRoot)
{
    game.writeHeightMap(65, 0, 100);
    startGame();
    EXPECT_EQ(rootChildren(scene::ESNT_SKY_BOX).size(), 1u);
    EXPECT_EQ(rootChildren(scene::ESNT_TERRAIN).size(), 1u);
    EXPECT_EQ(rootChildren(scene::ESNT_LIGHT).size(), 1u);

    const auto& children = root()->getChildren();
    const u32 before = children.size();
    app->buildWorld();
    ASSERT_EQ(children.size(), before + 3);
    auto added = children.getLast();
    EXPECT_EQ((*added)->getType(), scene::ESNT_LIGHT);
    --added;
    EXPECT_EQ((*added)->getType(), scene::ESNT_TERRAIN);
    --added;
    EXPECT_EQ((*added)->getType(), scene::ESNT_SKY_BOX);
}

TEST_F(WorldSceneTest, SkyBoxFacesGoRoundTheHorizon)
{
    for (const char* face : {"skytop", "skybottom", "sky0", "sky1", "sky2", "sky3"})
        game.writeImage(std::string(face) + ".jpg", 16, 16, 0xFF4080C0);
    game.writeHeightMap(33, 0, 10);
    startGame();

    const auto skies = rootChildren(scene::ESNT_SKY_BOX);
    ASSERT_EQ(skies.size(), 1u);
    scene::ISceneNode* sky = skies[0];
    ASSERT_EQ(sky->getMaterialCount(), 6u);
    // The engine keeps the faces as front, left, back, right, top, bottom.
    const char* expected[6] = {"sky0.jpg", "sky3.jpg", "sky2.jpg", "sky1.jpg", "skytop.jpg", "skybottom.jpg"};
    for (u32 i = 0; i < 6; ++i)
        EXPECT_EQ(fileName(sky->getMaterial(i).getTexture(0)), expected[i]) << "face " << i;
}

TEST_F(WorldSceneTest, TheSunIsTheOnlyLightDirectionalWhiteAndTilted)
{
    game.writeHeightMap(33, 0, 10);
    startGame();

    std::vector<scene::ISceneNode*> nodes;
    collect(root(), nodes);
    std::vector<scene::ILightSceneNode*> lights;
    for (scene::ISceneNode* node : nodes)
        if (node->getType() == scene::ESNT_LIGHT)
            lights.push_back(static_cast<scene::ILightSceneNode*>(node));
    ASSERT_EQ(lights.size(), 1u);
    scene::ILightSceneNode* sun = lights[0];
    EXPECT_EQ(sun->getParent(), root());
    EXPECT_EQ(sun->getLightType(), video::ELT_DIRECTIONAL);
    const video::SColorf colour = sun->getLightData().DiffuseColor;
    EXPECT_FLOAT_EQ(colour.r, 1.0f);
    EXPECT_FLOAT_EQ(colour.g, 1.0f);
    EXPECT_FLOAT_EQ(colour.b, 1.0f);
    EXPECT_FLOAT_EQ(colour.a, 1.0f);
    EXPECT_FLOAT_EQ(sun->getRadius(), 100.0f);
    expectNear(sun->getRotation(), core::vector3df(45.0f, 0.0f, 0.0f));
    expectNear(sun->getPosition(), core::vector3df(0.0f, 0.0f, 0.0f));
}

TEST_F(WorldSceneTest, ExponentialVertexFogOnTheTerrainAlone)
{
    game.writeHeightMap(65, 0, 100);
    startGame();

    expectWorldFog();

    // Sky, turret and everything else stay clear of the fog.
    std::vector<scene::ISceneNode*> nodes;
    collect(root(), nodes);
    u32 fogged = 0;
    for (scene::ISceneNode* node : nodes) {
        const bool isTerrain = node->getType() == scene::ESNT_TERRAIN;
        for (u32 i = 0; i < node->getMaterialCount(); ++i) {
            EXPECT_EQ(node->getMaterial(i).FogEnable, isTerrain) << "node type " << node->getType();
            fogged += node->getMaterial(i).FogEnable;
        }
    }
    EXPECT_GT(fogged, 0u);
}

class TerrainSizeTest : public WorldSceneTest, public ::testing::WithParamInterface<u32> {};

TEST_P(TerrainSizeTest, FlattenedTerrainIsCentredTenUnitsBelowTheGun)
{
    const u32 size = GetParam();
    game.writeHeightMap(size, 40, 240);
    game.writeImage("detailmap.png", 8, 8, 0xFF60A040);
    startGame();

    const auto terrains = rootChildren(scene::ESNT_TERRAIN);
    ASSERT_EQ(terrains.size(), 1u);
    auto* terrain = static_cast<scene::ITerrainSceneNode*>(terrains[0]);
    expectNear(terrain->getScale(), core::vector3df(1.0f, 0.1f, 1.0f));
    expectNear(terrain->getTerrainCenter(), core::vector3df(0.0f, -10.0f, 0.0f));

    // The ground really lies there: centred on the origin horizontally, and
    // a tenth of the height map's rise from its low edge to its high edge.
    const core::aabbox3df box = terrain->getTransformedBoundingBox();
    expectNear(box.getCenter(), core::vector3df(0.0f, -10.0f, 0.0f));
    EXPECT_NEAR(box.MaxEdge.X - box.MinEdge.X, f32(size - 1), 1e-3f);
    EXPECT_NEAR(box.MaxEdge.Y - box.MinEdge.Y, 0.1f * (240 - 40), 0.05f);

    for (u32 i = 0; i < terrain->getMaterialCount(); ++i) {
        EXPECT_EQ(fileName(terrain->getMaterial(i).getTexture(0)), "detailmap.png");
        EXPECT_EQ(terrain->getMaterial(i).getTexture(1), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(HeightMapSizes, TerrainSizeTest, ::testing::Values(33u, 65u, 129u, 257u));

class MissingHeightMapTest : public WorldSceneTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MissingHeightMapTest, SkyFogAndLightStayAndOneLineNamesTheFile)
{
    const bool fileThere = GetParam();
    if (fileThere)
        game.writeFile("heightmap.png", "this is no picture");

    ::testing::internal::CaptureStdout();
    startGame();
    const std::string out = ::testing::internal::GetCapturedStdout();

    const std::string line = "No terrain: the height map ../res/heightmap.png is missing or unreadable.\n";
    const size_t at = out.find(line);
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_EQ(out.find(line, at + 1), std::string::npos) << "printed more than once";

    EXPECT_EQ(rootChildren(scene::ESNT_TERRAIN).size(), 0u);
    EXPECT_EQ(rootChildren(scene::ESNT_SKY_BOX).size(), 1u);
    ASSERT_EQ(rootChildren(scene::ESNT_LIGHT).size(), 1u);
    EXPECT_EQ(static_cast<scene::ILightSceneNode*>(rootChildren(scene::ESNT_LIGHT)[0])->getLightType(),
              video::ELT_DIRECTIONAL);

    expectWorldFog();

    // The game goes on without ground.
    app->frame();
    app->frame();
    EXPECT_TRUE(getDevice()->run());
}

INSTANTIATE_TEST_SUITE_P(MissingOrUnreadable, MissingHeightMapTest, ::testing::Values(false, true));
