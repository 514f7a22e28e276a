// The tracers drawn on a real OpenGL device: a streak from the muzzle into
// the sight, added onto sky and ground alike, gone when its time is up.
// With TRACER_SHOTS=PREFIX every frame is kept to look at.

#include "TracerSceneNode.h"

#include <TestGlDevice.h>
#include <gtest/gtest.h>

using namespace irr;
using core::vector3df;

namespace {

const vector3df ahead(0.0f, 0.0f, 1.0f);

class TracerSceneNodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gl.device)
            GTEST_SKIP() << "needs an X display";
        scene::ISceneManager* scene = gl.device->getSceneManager();
        tracers = new TracerSceneNode(scene->getRootSceneNode(), scene);
    }

    void TearDown() override
    {
        if (tracers)
            tracers->drop();
    }

    // Pixels brighter than the background by a clear margin in red, and
    // their mean place (x, y from the top).
    int litPixels(video::SColor background, int& meanX, int& meanY)
    {
        const std::vector<std::uint8_t> rgba = gl.frame(background, "TRACER_SHOTS");
        long sumX = 0;
        long sumY = 0;
        int lit = 0;
        for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
            if (rgba[i * 4] > static_cast<int>(background.getRed()) + 60) {
                ++lit;
                sumX += static_cast<long>(i % TestGlDevice::width);
                sumY += static_cast<long>(i / TestGlDevice::width);
            }
        }
        meanX = lit ? static_cast<int>(sumX / lit) : 0;
        meanY = lit ? static_cast<int>(sumY / lit) : 0;
        return lit;
    }

    TestGlDevice gl{vector3df(0.0f, 1.75f, 0.0f)};
    TracerSceneNode* tracers = nullptr;
};

} // namespace

TEST_F(TracerSceneNodeTest, AFreshRoundStreaksFromTheRightMuzzleIntoTheSight)
{
    tracers->getBatch().fire(TracerBatch::muzzleOffset(TracerBatch::Gun::Right), ahead, 1000);
    tracers->update(1016);
    ASSERT_EQ(tracers->getStreakCount(), 1u);
    int x = 0;
    int y = 0;
    const int lit = litPixels(video::SColor(255, 0, 0, 0), x, y);
    // A line a few pixels wide and tens of pixels long...
    EXPECT_GT(lit, 100);
    EXPECT_LT(lit, 3000);
    // ...from the muzzle, right of the sight and below it.
    EXPECT_GT(x, TestGlDevice::width / 2);
    EXPECT_GT(y, TestGlDevice::height / 2);
}

TEST_F(TracerSceneNodeTest, ABurstShowsOverSkyAndGroundAndIsGoneAfterThreeTenths)
{
    for (u32 i = 0; i < 16; ++i) {
        const TracerBatch::Gun gun = TracerBatch::gunOfRound(16 - i);
        tracers->getBatch().fire(TracerBatch::muzzleOffset(gun), ahead, 1000 + i * 1000 / 60);
    }
    tracers->update(1260);
    EXPECT_EQ(tracers->getStreakCount(), 16u);
    int x = 0;
    int y = 0;
    for (const video::SColor background : {video::SColor(255, 120, 160, 210), video::SColor(255, 60, 80, 40)})
        EXPECT_GT(litPixels(background, x, y), 200) << "over " << background.color;

    tracers->update(1000 + 15 * 1000 / 60 + TracerBatch::lifetime);
    EXPECT_EQ(tracers->getStreakCount(), 0u);
    EXPECT_EQ(litPixels(video::SColor(255, 0, 0, 0), x, y), 0);
}
