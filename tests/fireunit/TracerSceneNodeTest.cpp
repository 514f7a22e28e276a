// The tracers drawn on a real OpenGL device: a streak from the muzzle into
// the sight, added onto sky and ground alike, gone when its time is up.

#include "TracerSceneNode.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Xlib defines macros (None, Bool, Status) that clash with the headers above.
#include <GL/gl.h>
#include <X11/Xlib.h>

using namespace irr;
using core::vector3df;

namespace {

int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

const vector3df eye(0.0f, 1.75f, 0.0f);
const vector3df rightMuzzle(0.14f, 1.5f, 1.89f);
const vector3df ahead(0.0f, 0.0f, 1.0f);

class TracerSceneNodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        XSetErrorHandler(ignoreXError);
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_OPENGL;
        parameters.WindowSize = core::dimension2du(1366, 768);
        parameters.LoggingLevel = ELL_ERROR;
        device = createDeviceEx(parameters);
        ASSERT_NE(device, nullptr);
        scene::ISceneManager* scene = device->getSceneManager();
        scene::ICameraSceneNode* camera = scene->addCameraSceneNode(nullptr, eye, eye + ahead * 100.0f);
        camera->setNearValue(0.01f);
        camera->setFarValue(4000.0f);
        tracers = new TracerSceneNode(scene->getRootSceneNode(), scene);
    }

    void TearDown() override
    {
        if (!device)
            return;
        tracers->drop();
        device->drop();
    }

    // One frame over a plain background; the picture read back before the swap.
    std::vector<std::uint8_t> frame(video::SColor background)
    {
        video::IVideoDriver* driver = device->getVideoDriver();
        driver->beginScene(true, true, background);
        device->getSceneManager()->drawAll();
        const core::dimension2du size = driver->getScreenSize();
        std::vector<std::uint8_t> rgba(size.Width * size.Height * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, GLsizei(size.Width), GLsizei(size.Height), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        driver->endScene();
        // With TRACER_SHOTS set, every frame is kept as PREFIX<n>.ppm to look at.
        if (const char* prefix = std::getenv("TRACER_SHOTS")) {
            FILE* f = std::fopen((prefix + std::to_string(shots++) + ".ppm").c_str(), "wb");
            std::fprintf(f, "P6 %u %u 255\n", size.Width, size.Height);
            for (int y = int(size.Height) - 1; y >= 0; --y)
                for (u32 x = 0; x < size.Width; ++x)
                    std::fwrite(&rgba[(y * size.Width + x) * 4], 1, 3, f);
            std::fclose(f);
        }
        return rgba;
    }

    // Pixels brighter than the background by a clear margin in red.
    int litPixels(const std::vector<std::uint8_t>& rgba, int backgroundRed, int& sumX, int& sumY) const
    {
        const int width = 1366;
        int lit = 0;
        sumX = sumY = 0;
        for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
            if (rgba[i * 4] > backgroundRed + 60) {
                ++lit;
                sumX += static_cast<int>(i % width);
                sumY += static_cast<int>(i / width);  // rows from the bottom
            }
        }
        return lit;
    }

    IrrlichtDevice* device = nullptr;
    TracerSceneNode* tracers = nullptr;
    int shots = 0;
};

} // namespace

TEST_F(TracerSceneNodeTest, AFreshRoundStreaksFromTheRightMuzzleIntoTheSight)
{
    tracers->getBatch().fire(rightMuzzle, ahead, 1000);
    tracers->update(1016);
    ASSERT_EQ(tracers->getStreakCount(), 1u);
    int sumX = 0;
    int sumY = 0;
    const int lit = litPixels(frame(video::SColor(255, 0, 0, 0)), 0, sumX, sumY);
    // A line of a few pixels' width, tens of pixels long.
    EXPECT_GT(lit, 100);
    EXPECT_LT(lit, 3000);
    // Right of the centre and below it (rows counted from the bottom).
    EXPECT_GT(sumX / lit, 1366 / 2);
    EXPECT_LT(sumY / lit, 768 / 2);
}

TEST_F(TracerSceneNodeTest, ABurstShowsOverSkyAndGroundAndIsGoneAfterThreeTenths)
{
    for (u32 i = 0; i < 16; ++i) {
        const TracerBatch::Gun gun = TracerBatch::gunOfRound(16 - i);
        tracers->getBatch().fire(TracerBatch::muzzleOffset(gun), ahead, 1000 + i * 1000 / 60);
    }
    tracers->update(1260);
    EXPECT_EQ(tracers->getStreakCount(), 16u);
    int sumX = 0;
    int sumY = 0;
    for (const video::SColor background : {video::SColor(255, 120, 160, 210), video::SColor(255, 60, 80, 40)}) {
        const int lit = litPixels(frame(background), static_cast<int>(background.getRed()), sumX, sumY);
        EXPECT_GT(lit, 200) << "over " << background.color;
    }

    tracers->update(1000 + 15 * 1000 / 60 + TracerBatch::lifetime);
    EXPECT_EQ(tracers->getStreakCount(), 0u);
    EXPECT_EQ(litPixels(frame(video::SColor(255, 0, 0, 0)), 0, sumX, sumY), 0);
}
