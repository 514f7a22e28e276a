// The fireball in the scene, on a real OpenGL device with the baked texture.
// With FIREBALL_SHOTS=PREFIX every frame is kept to look at.

#include "Fireball.h"
#include "FireballEffect.h"

#include <TestGlDevice.h>
#include <gtest/gtest.h>

#include <string>

using namespace irr;
using core::vector3df;

namespace {

class FireballEffectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gl.device)
            GTEST_SKIP() << "needs an X display";
        texture = gl.device->getVideoDriver()->getTexture((std::string(RES_DIR) + "/fireball.png").c_str());
        ASSERT_NE(texture, nullptr);
    }

    // Pixels of fire over a sky-blue frame: far redder than the sky.
    int firePixels()
    {
        const std::vector<std::uint8_t> rgba = gl.frame(video::SColor(255, 100, 140, 200), "FIREBALL_SHOTS");
        int fire = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4)
            fire += rgba[i] > 160 && rgba[i] > rgba[i + 2] + 40;
        return fire;
    }

    TestGlDevice gl{vector3df(0.0f, 0.0f, 0.0f)};
    video::ITexture* texture = nullptr;
};

} // namespace

TEST_F(FireballEffectTest, BloomsAtTheHitFadesAndIsGone)
{
    scene::ISceneManager* scene = gl.device->getSceneManager();
    FireballEffect fireball(scene, scene->getRootSceneNode(), vector3df(0, 0, 200), texture, 5000);
    ASSERT_NE(fireball.getNode(), nullptr);

    ASSERT_TRUE(fireball.update(5050));
    Fireball::Look look{};
    Fireball::lookAt(5000, 5050, look);
    EXPECT_FLOAT_EQ(fireball.getNode()->getSize().Width, look.size);
    const int early = firePixels();
    // A 41-unit square at 200 units is some 110 pixels wide; the ball of
    // flame fills the middle of it.
    EXPECT_GT(early, 1700);
    EXPECT_LT(early, 12000);

    // Bigger but fading: far fewer pixels stay as red as at first.
    ASSERT_TRUE(fireball.update(5400));
    EXPECT_GT(fireball.getNode()->getSize().Width, look.size);
    EXPECT_LT(firePixels(), early / 2);

    EXPECT_FALSE(fireball.update(5500));
    EXPECT_FALSE(fireball.getNode()->isVisible());
    EXPECT_EQ(firePixels(), 0);
}

TEST_F(FireballEffectTest, RidesWithTheJetAndOutlivesItsNode)
{
    scene::ISceneManager* scene = gl.device->getSceneManager();
    scene::ISceneNode* jet = scene->addEmptySceneNode();
    jet->setPosition(vector3df(0, 0, 200));
    FireballEffect fireball(scene, jet, vector3df(0, 0, 0), texture, 0);
    fireball.update(20);
    EXPECT_GT(firePixels(), 500);
    // The jet leaves the scene with its children; the fireball is still ours.
    jet->remove();
    EXPECT_EQ(fireball.getNode()->getParent(), nullptr);
    EXPECT_TRUE(fireball.update(40));
    EXPECT_EQ(firePixels(), 0);
}

TEST_F(FireballEffectTest, WithoutItsTextureThereIsNothingToShow)
{
    scene::ISceneManager* scene = gl.device->getSceneManager();
    const u32 children = scene->getRootSceneNode()->getChildren().size();
    FireballEffect fireball(scene, scene->getRootSceneNode(), vector3df(0, 0, 200), nullptr, 0);
    EXPECT_EQ(fireball.getNode(), nullptr);
    EXPECT_FALSE(fireball.update(10));
    EXPECT_EQ(scene->getRootSceneNode()->getChildren().size(), children);
}
