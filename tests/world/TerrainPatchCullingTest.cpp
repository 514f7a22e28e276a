#include "TerrainPatchCulling.h"

#include <TestGlDevice.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace irr;

// Looking up over the ground, most of its patches lie behind or below the
// view: they are left out, and the frame drawn without them is the frame
// drawn with them, pixel for pixel.
TEST(TerrainPatchCulling, LeavesOutWhatTheViewCannotSeeAndKeepsThePicture)
{
    TestGlDevice gl{core::vector3df(0.0f, 5.0f, 0.0f)};
    ASSERT_NE(gl.device, nullptr) << "needs an X display with OpenGL";
    scene::ISceneManager* scene = gl.device->getSceneManager();
    video::IVideoDriver* driver = gl.device->getVideoDriver();

    // Gentle hills, 129 samples a side: 8 x 8 patches of 17.
    video::IImage* heights = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(129, 129));
    for (u32 y = 0; y < 129; ++y)
        for (u32 x = 0; x < 129; ++x) {
            const u32 h = static_cast<u32>(100.0 + 80.0 * std::sin(x * 0.11) * std::cos(y * 0.07));
            heights->setPixel(x, y, video::SColor(255, h, h, h));
        }
    const std::string file = "/tmp/torvel-culling-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(driver->writeImageToFile(heights, file.c_str()));
    heights->drop();
    scene::ITerrainSceneNode* terrain = scene->addTerrainSceneNode(
        file.c_str(), nullptr, -1, core::vector3df(-640.0f, -20.0f, -640.0f), core::vector3df(0.0f, 0.0f, 0.0f),
        core::vector3df(10.0f, 0.1f, 10.0f), video::SColor(255, 255, 255, 255), 5, scene::ETPS_17, 0, false);
    std::remove(file.c_str());
    ASSERT_NE(terrain, nullptr);
    terrain->setMaterialFlag(video::EMF_LIGHTING, false);

    // Half up towards the sky, turned off the terrain's axes.
    scene::ICameraSceneNode* camera = scene->getActiveCamera();
    camera->setTarget(camera->getAbsolutePosition() + core::vector3df(30.0f, 45.0f, 100.0f));
    const std::vector<std::uint8_t> whole = gl.frame(video::SColor(255, 0, 0, 0));

    TerrainPatchCulling culling(terrain);
    culling.update(*camera);
    EXPECT_GT(culling.getPatchesLeftOut(), 10u);
    EXPECT_GT(culling.getPatchesSent(), 0u);
    const std::vector<std::uint8_t> cut = gl.frame(video::SColor(255, 0, 0, 0));
    std::size_t ground = 0, differing = 0;
    for (std::size_t i = 0; i < whole.size(); i += 4) {
        ground += whole[i] != 0 || whole[i + 1] != 0 || whole[i + 2] != 0;
        differing += whole[i] != cut[i] || whole[i + 1] != cut[i + 1] || whole[i + 2] != cut[i + 2];
    }
    EXPECT_GT(ground, whole.size() / 4 / 20) << "the ground is in view";
    EXPECT_EQ(differing, 0u);

    // Turned round and level over the ground, the view needs more of them.
    camera->setTarget(camera->getAbsolutePosition() + core::vector3df(0.0f, -15.0f, -100.0f));
    gl.frame(video::SColor(255, 0, 0, 0));
    const u32 sentLookingUp = culling.getPatchesSent();
    culling.update(*camera);
    EXPECT_GT(culling.getPatchesSent(), sentLookingUp);
}
