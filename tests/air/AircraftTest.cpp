#include "Aircraft.h"
#include "AirTestDir.h"
#include "AudioSource.h"
#include "EngineContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

using namespace irr;
using core::line3df;
using core::vector3df;

namespace {

// The scene clock stands still at this time, so the animators move only when
// a test says so.
constexpr u32 sceneTime = 100000;

// A shot from the origin through the middle of the jet's box, well beyond it.
line3df shotThrough(const scene::ISceneNode* node)
{
    const vector3df centre = node->getTransformedBoundingBox().getCenter();
    return line3df(vector3df(0, 0, 0), centre * 2.0f);
}

// The same shot, lifted clear above the box.
line3df shotAbove(const scene::ISceneNode* node)
{
    const core::aabbox3df box = node->getTransformedBoundingBox();
    const vector3df lift(0, box.getExtent().getLength() + 10.0f, 0);
    const line3df through = shotThrough(node);
    return line3df(through.start + lift, through.end + lift);
}

class AircraftTest : public ::testing::Test {
protected:
    void enter(bool withJetMesh, bool withFlybySound)
    {
        dir = std::make_unique<AirTestDir>(withJetMesh, withFlybySound);
        ITimer* timer = getDevice()->getTimer();
        timer->stop();
        timer->setTime(sceneTime);
    }

    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0')
            GTEST_SKIP() << "needs an X display";
    }

    std::unique_ptr<AirTestDir> dir;
};

} // namespace

TEST_F(AircraftTest, FacesAlongItsPathAndFliesIt)
{
    enter(true, false);
    struct Case { vector3df direction; f32 yaw; };
    const Case cases[] = {
        {{1, 0, 0}, 0},       {{0, 0, 1}, -90},   {{-1, 0, 0}, -180}, {{0, 0, -1}, -270},
        {{-1, 0, 1}, -135},   {{1, 0, -1}, -315}, {{0, 1, 0}, 0},     {{0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        const vector3df start(-100, 300, 40);
        Aircraft jet(line3df(start, start + c.direction * 1000.0f), 30000, 5000);
        scene::IMeshSceneNode* node = jet.getNode();
        ASSERT_NE(node, nullptr);
        EXPECT_NEAR(node->getRotation().Y, c.yaw, 1e-3f) << c.direction.X << ", " << c.direction.Z;
        EXPECT_EQ(node->getRotation().X, 0.0f);
        EXPECT_EQ(node->getRotation().Z, 0.0f);
        EXPECT_EQ(node->getPosition(), vector3df(25, 0, 0));
        EXPECT_EQ(node->getParent(), getSceneManager()->getRootSceneNode());
    }
}

TEST_F(AircraftTest, AnimatorCarriesItToTheEndAndThenItHasFinished)
{
    enter(true, false);
    const line3df path(vector3df(-2000, 200, -50), vector3df(2000, 200, -50));
    Aircraft jet(path, 40000, 7000);
    scene::IMeshSceneNode* node = jet.getNode();
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->getAnimators().size(), 1u);

    node->OnAnimate(sceneTime);
    EXPECT_EQ(jet.getAbsolutePosition(), path.start);
    EXPECT_FALSE(jet.hasFinished());

    node->OnAnimate(sceneTime + 20000);
    EXPECT_NEAR(jet.getAbsolutePosition().X, 0.0f, 0.5f);
    EXPECT_EQ(jet.getAbsolutePosition().Y, 200.0f);
    EXPECT_FALSE(jet.hasFinished());

    node->OnAnimate(sceneTime + 39999);
    EXPECT_FALSE(jet.hasFinished());
    node->OnAnimate(sceneTime + 40000);
    EXPECT_TRUE(jet.hasFinished());
    EXPECT_EQ(jet.getAbsolutePosition(), path.end);
}

TEST_F(AircraftTest, FirstCrossingShotStartsOneSmokeTrail)
{
    enter(true, false);
    std::cerr << (dir->usesBakedJet() ? "baked jet\n" : "stand-in box jet\n");
    Aircraft jet(line3df(vector3df(-2000, 400, 300), vector3df(2000, 400, 300)), 30000, 5000);
    scene::IMeshSceneNode* node = jet.getNode();
    ASSERT_NE(node, nullptr);
    node->OnAnimate(sceneTime + 15000);
    ASSERT_FALSE(node->getTransformedBoundingBox().isEmpty());

    EXPECT_FALSE(jet.hit(shotAbove(node)));
    EXPECT_TRUE(jet.isAlive());
    EXPECT_TRUE(node->getChildren().empty());

    EXPECT_TRUE(jet.hit(shotThrough(node)));
    EXPECT_FALSE(jet.isAlive());
    ASSERT_EQ(node->getChildren().size(), 1u);
    scene::ISceneNode* child = *node->getChildren().begin();
    ASSERT_EQ(child->getType(), scene::ESNT_PARTICLE_SYSTEM);
    auto* smoke = static_cast<scene::IParticleSystemSceneNode*>(child);
    ASSERT_NE(smoke->getEmitter(), nullptr);
    EXPECT_EQ(smoke->getEmitter()->getMinStartSize(), core::dimension2df(80, 80));
    EXPECT_EQ(smoke->getEmitter()->getMaxStartSize(), core::dimension2df(120, 120));
    EXPECT_EQ(smoke->getEmitter()->getDirection(), vector3df(0, 0, 0));
    // Blended rather than cut at an alpha threshold, so that the puffs'
    // edges are soft, and without depth writes, so that they overlap.
    EXPECT_EQ(smoke->getMaterial(0).MaterialType, video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    EXPECT_FALSE(smoke->getMaterial(0).ZWriteEnable);
    EXPECT_FALSE(smoke->getMaterial(0).Lighting);
    if (std::filesystem::exists("../res/smoke.png") && std::filesystem::exists("../res/smoke1.png")) {
        EXPECT_NE(smoke->getMaterial(0).getTexture(0), nullptr);
        EXPECT_NE(smoke->getMaterial(0).getTexture(1), nullptr);
    }

    // Later crossings still count as hits but never add a second trail.
    EXPECT_TRUE(jet.hit(shotThrough(node)));
    EXPECT_TRUE(jet.hit(shotThrough(node)));
    EXPECT_EQ(node->getChildren().size(), 1u);
    EXPECT_FALSE(jet.hit(shotAbove(node)));
    EXPECT_FALSE(jet.isAlive());

    // A hit does not touch the flight.
    node->OnAnimate(sceneTime + 30000);
    EXPECT_TRUE(jet.hasFinished());
}

// Two trails drawn one right after the other: the second must not sample the
// first one's texture layer 1, which its material type never reads. The
// engine leaves a layer switched on after a draw unless the next material
// differs, so what the renderer holds after the last trail tells.
TEST_F(AircraftTest, EveryTrailIsDrawnWithItsFirstTextureOnly)
{
    enter(true, false);
    scene::ISceneManager* sceneManager = getSceneManager();
    video::IVideoDriver* driver = getVideoDriver();
    scene::ICameraSceneNode* camera = sceneManager->addCameraSceneNode(
        nullptr, vector3df(0, 0, 0), vector3df(0, 400, 320));
    Aircraft near(line3df(vector3df(-2000, 400, 280), vector3df(2000, 400, 280)), 30000, 5000);
    Aircraft far(line3df(vector3df(-2000, 400, 360), vector3df(2000, 400, 360)), 30000, 5000);
    ITimer* timer = getDevice()->getTimer();
    timer->setTime(sceneTime + 15000);
    for (Aircraft* jet : {&near, &far}) {
        ASSERT_NE(jet->getNode(), nullptr);
        jet->getNode()->OnAnimate(timer->getTime());
        ASSERT_TRUE(jet->hit(shotThrough(jet->getNode())));
    }

    bool layerOneOn = true;
    for (u32 frame = 1; frame <= 20; ++frame) {
        timer->setTime(sceneTime + 15000 + frame * 50);
        driver->beginScene(true, true, video::SColor(0xFF808080));
        sceneManager->drawAll();
        glActiveTexture(GL_TEXTURE1);
        layerOneOn = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
        glActiveTexture(GL_TEXTURE0);
        driver->endScene();
    }
    for (Aircraft* jet : {&near, &far})
        EXPECT_FALSE((*jet->getNode()->getChildren().begin())->getBoundingBox().isEmpty());
    EXPECT_FALSE(layerOneOn);
    camera->remove();
}

TEST_F(AircraftTest, DestroyingPrintsOneLineAndTakesTheNodeOut)
{
    enter(true, false);
    auto jet = std::make_unique<Aircraft>(line3df(vector3df(-2000, 100, 0), vector3df(2000, 100, 0)),
                                          30000, 5000);
    scene::IMeshSceneNode* node = jet->getNode();
    ASSERT_NE(node, nullptr);
    node->OnAnimate(sceneTime + 15000);
    ASSERT_TRUE(jet->hit(shotThrough(node)));
    scene::ISceneNode* smoke = *node->getChildren().begin();
    scene::ISceneNodeAnimator* animator = *node->getAnimators().begin();
    smoke->grab();
    animator->grab();
    scene::ISceneNode* root = getSceneManager()->getRootSceneNode();
    const size_t nodesBefore = root->getChildren().size();

    testing::internal::CaptureStdout();
    jet.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "~Aircraft\n");

    getSceneManager()->drawAll();   // empties the deletion queue
    EXPECT_EQ(root->getChildren().size(), nodesBefore - 1);
    // The smoke went with the node, and nothing keeps the animator any more.
    EXPECT_EQ(smoke->getParent(), nullptr);
    EXPECT_EQ(smoke->getReferenceCount(), 1);
    EXPECT_EQ(animator->getReferenceCount(), 1);
    smoke->drop();
    animator->drop();
}

TEST_F(AircraftTest, FlybySoundPlaysOnlyInsideItsWindowAndStartsAgain)
{
    enter(true, true);
    const u32 start = 0xFFFFD000u;   // the window lies across the wrap of the real clock
    Aircraft jet(line3df(vector3df(-2000, 100, 0), vector3df(2000, 100, 0)), 30000, start);
    torvel::AudioSource* sound = jet.getSound();
    ASSERT_NE(sound, nullptr);
    ASSERT_TRUE(sound->isValid());
    // The mixer runs on its own thread; give it time even on a busy machine.
    const auto toneEnds = [sound] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (sound->isPlaying() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };

    jet.update(start + 5000u);
    jet.update(start + 11000u);
    EXPECT_FALSE(sound->isPlaying());
    jet.update(start + 11001u);
    EXPECT_TRUE(sound->isPlaying());
    jet.update(start + 11100u);   // still sounding: only follows the jet
    EXPECT_TRUE(sound->isPlaying());

    toneEnds();
    ASSERT_FALSE(sound->isPlaying());
    jet.update(start + 14999u);
    EXPECT_TRUE(sound->isPlaying()) << "a sound that ended inside the window starts again";

    toneEnds();
    ASSERT_FALSE(sound->isPlaying());
    jet.update(start + 15000u);
    EXPECT_FALSE(sound->isPlaying());
    jet.update(start + 20000u);
    EXPECT_FALSE(sound->isPlaying());
}

TEST_F(AircraftTest, WithoutItsMeshItFliesUnseenOnTheRealClock)
{
    enter(false, true);
    const line3df path(vector3df(-2000, 100, 0), vector3df(2000, 100, 0));
    const u32 start = 0xFFFFF000u;
    testing::internal::CaptureStdout();
    auto jet = std::make_unique<Aircraft>(path, 30000, start);
    { Aircraft another(path, 30000, start); }   // the second jet without a mesh says nothing more
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Cannot load the jet mesh ../res/SU35S.obj: jets will fly unseen and cannot be hit.\n"
              "~Aircraft\n");
    EXPECT_EQ(jet->getNode(), nullptr);
    EXPECT_TRUE(jet->isAlive());

    // It cannot be seen, so it cannot be hit, wherever the shot goes.
    jet->update(start + 15000u);
    EXPECT_NEAR(jet->getAbsolutePosition().X, 0.0f, 0.5f);
    EXPECT_FALSE(jet->hit(line3df(vector3df(0, 0, 0), vector3df(0, 4000, 0))));
    EXPECT_FALSE(jet->hit(line3df(path.start, path.end)));
    EXPECT_TRUE(jet->isAlive());

    jet->update(start + 29999u);
    EXPECT_FALSE(jet->hasFinished());
    jet->update(start + 30000u);
    EXPECT_TRUE(jet->hasFinished());
    EXPECT_EQ(jet->getAbsolutePosition(), path.end);

    testing::internal::CaptureStdout();
    jet.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "~Aircraft\n");
}

TEST_F(AircraftTest, AnUnreadableMeshIsLikeAMissingOne)
{
    enter(false, false);
    std::ofstream("../res/SU35S.obj") << "\x7f\x01 this is no mesh \x02\n";
    testing::internal::CaptureStdout();
    Aircraft jet(line3df(vector3df(0, 100, -2000), vector3df(0, 100, 2000)), 30000, 5000);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("Cannot load the jet mesh ../res/SU35S.obj"), std::string::npos) << said;
    EXPECT_EQ(jet.getNode(), nullptr);
    EXPECT_FALSE(jet.hit(line3df(vector3df(-4000, 100, 0), vector3df(4000, 100, 0))));
    jet.update(5000 + 30000);
    EXPECT_TRUE(jet.hasFinished());
}

TEST_F(AircraftTest, WithoutAFlybyFileItStaysSilent)
{
    enter(true, false);
    Aircraft jet(line3df(vector3df(-2000, 100, 0), vector3df(2000, 100, 0)), 30000, 5000);
    for (u32 elapsed = 11001; elapsed < 15000; elapsed += 500)
        jet.update(5000 + elapsed);
    if (jet.getSound() != nullptr) {
        EXPECT_FALSE(jet.getSound()->isPlaying());
    }
}
