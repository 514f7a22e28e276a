#include "TurretAim.h"
#include "TurretCamAnimator.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

using namespace irr;
using core::vector3df;

namespace {

void expectNear(const vector3df& actual, const vector3df& expected, f32 tolerance)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
}

// The turret branch as the game builds it (base, guns, camera on the guns),
// in a device without a window: the geometry needs no renderer.
class TurretCamAnimatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = createDevice(video::EDT_NULL);
        ASSERT_NE(device, nullptr);
        device->getLogger()->setLogLevel(ELL_NONE);
        scene::ISceneManager* scene = device->getSceneManager();
        base = scene->addEmptySceneNode();
        guns = scene->addEmptySceneNode(base);
        camera = scene->addCameraSceneNode(guns, vector3df(0, 0, 0), vector3df(0, 0, 100));
        animator = new TurretCamAnimator(guns);
        camera->addAnimator(animator);
    }

    void TearDown() override
    {
        animator->drop();
        device->drop();
    }

    // One animation pass over the scene graph, as drawAll makes it.
    void animate()
    {
        device->getSceneManager()->getRootSceneNode()->OnAnimate(0);
    }

    IrrlichtDevice* device = nullptr;
    scene::ISceneNode* base = nullptr;
    scene::ISceneNode* guns = nullptr;
    scene::ICameraSceneNode* camera = nullptr;
    TurretCamAnimator* animator = nullptr;
};

} // namespace

TEST_F(TurretCamAnimatorTest, LevelGunsLookAlongTheirBarrels)
{
    animate();
    expectNear(camera->getAbsolutePosition(), vector3df(0, 1.75f, 0), 1e-5f);
    expectNear(camera->getTarget(), vector3df(0, 0, 100), 1e-4f);
    expectNear(camera->getUpVector(), vector3df(0, 1, 0), 1e-6f);

    base->setRotation(vector3df(0, 90, 0));
    animate();
    expectNear(camera->getAbsolutePosition(), vector3df(0, 1.75f, 0), 1e-5f);
    expectNear(camera->getTarget(), vector3df(100, 0, 0), 1e-4f);
    expectNear(camera->getUpVector(), vector3df(0, 1, 0), 1e-6f);

    const core::line3df shot = TurretAim::shotLine(camera->getAbsolutePosition(), camera->getTarget());
    expectNear(shot.start, vector3df(0, 1.75f, 0), 1e-5f);
    expectNear(shot.end, vector3df(3999.4f, -70.0f, 0), 0.05f);
}

TEST_F(TurretCamAnimatorTest, RaisedGunsTiltTheCamera)
{
    guns->setRotation(vector3df(-85, 0, 0));
    animate();
    expectNear(camera->getAbsolutePosition(), vector3df(0, 0.1525f, -1.7433f), 1e-3f);
    expectNear(camera->getTarget(), vector3df(0, 99.62f, 8.72f), 0.01f);
    expectNear(camera->getUpVector(), vector3df(0, 0.0872f, -0.9962f), 1e-3f);

    const core::line3df shot = TurretAim::shotLine(camera->getAbsolutePosition(), camera->getTarget());
    expectNear(shot.end, vector3df(0, 3978.1f, 418.3f), 0.2f);
}

TEST_F(TurretCamAnimatorTest, CameraStaysOnTheGunsWhateverTheAim)
{
    // Aim set between two passes, as joystick events do, is followed at once.
    for (f32 yaw = 0; yaw <= 360; yaw += 45) {
        for (f32 pitch = -85; pitch <= 5; pitch += 15) {
            base->setRotation(vector3df(0, yaw, 0));
            guns->setRotation(vector3df(pitch, 0, 0));
            animate();
            EXPECT_NEAR(camera->getAbsolutePosition().getLength(), 1.75f, 1e-4f);
            // Never rolls: the up vector stays in the vertical plane of the aim.
            const vector3df aim = camera->getTarget() - camera->getAbsolutePosition();
            const vector3df side = aim.crossProduct(camera->getUpVector());
            EXPECT_NEAR(side.Y, 0.0f, 1e-2f) << yaw << " " << pitch;
            EXPECT_NEAR(camera->getUpVector().getLength(), 1.0f, 1e-5f);
        }
    }
}

TEST_F(TurretCamAnimatorTest, OtherNodesAreOnlyMoved)
{
    scene::ISceneNode* node = device->getSceneManager()->addEmptySceneNode(guns);
    node->setRotation(vector3df(10, 20, 30));
    node->setScale(vector3df(2, 3, 4));
    guns->setRotation(vector3df(-40, 0, 0));
    animator->animateNode(node, 0);
    EXPECT_EQ(node->getPosition(), vector3df(0, 1.75f, 0));
    EXPECT_EQ(node->getRotation(), vector3df(10, 20, 30));
    EXPECT_EQ(node->getScale(), vector3df(2, 3, 4));
}

TEST_F(TurretCamAnimatorTest, NothingToFollowOrNothingToMove)
{
    TurretCamAnimator* lost = new TurretCamAnimator(nullptr);
    camera->setPosition(vector3df(5, 6, 7));
    camera->setTarget(vector3df(1, 2, 3));
    lost->animateNode(camera, 0);
    EXPECT_EQ(camera->getPosition(), vector3df(5, 6, 7));
    EXPECT_EQ(camera->getTarget(), vector3df(1, 2, 3));
    lost->drop();

    animator->animateNode(nullptr, 0);
    EXPECT_EQ(camera->getPosition(), vector3df(5, 6, 7));
}

TEST_F(TurretCamAnimatorTest, CannotBeClonedAndNeverFinishes)
{
    EXPECT_EQ(animator->createClone(camera, device->getSceneManager()), nullptr);
    EXPECT_EQ(animator->getType(), scene::ESNAT_UNKNOWN);
    EXPECT_FALSE(animator->hasFinished());
    EXPECT_FALSE(animator->isEventReceiverEnabled());
    EXPECT_EQ(animator->getGuns(), guns);
}
