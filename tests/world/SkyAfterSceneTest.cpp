#include "SkyAfterScene.h"

#include <TestGlDevice.h>

#include <gtest/gtest.h>

using namespace irr;

namespace {

video::ITexture* plain(video::IVideoDriver* driver, const char* name, video::SColor colour)
{
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(16, 16));
    image->fill(colour);
    video::ITexture* texture = driver->addTexture(name, image);
    image->drop();
    return texture;
}

} // namespace

// Drawn after the opaque scene, the sky still fills every pixel nothing else
// covers and hides nothing: not even a solid farther off than the sky box's
// own faces, which a sky drawn at its own depth would paint over.
TEST(SkyAfterScene, FillsWhatTheOpaqueSceneLeavesAndHidesNothing)
{
    TestGlDevice gl{core::vector3df(0.0f, 0.0f, 0.0f)};
    ASSERT_NE(gl.device, nullptr) << "needs an X display with OpenGL";
    scene::ISceneManager* scene = gl.device->getSceneManager();
    video::IVideoDriver* driver = gl.device->getVideoDriver();
    video::ITexture* blue = plain(driver, "blue", video::SColor(255, 0, 0, 255));
    scene::ISceneNode* sky = scene->addSkyBoxSceneNode(blue, blue, blue, blue, blue, blue);
    SkyAfterScene* skyLast = new SkyAfterScene(sky);
    scene->setLightManager(skyLast);
    skyLast->drop();

    // The faces stand 2000 units out (halfway to the far plane); the solid 3000.
    scene::IMeshSceneNode* far = scene->addCubeSceneNode(400.0f, nullptr, -1, core::vector3df(0.0f, 0.0f, 3000.0f));
    far->setMaterialFlag(video::EMF_LIGHTING, false);
    far->setMaterialTexture(0, plain(driver, "red", video::SColor(255, 255, 0, 0)));

    const std::vector<std::uint8_t> rgba = gl.frame(video::SColor(255, 128, 128, 128));
    const auto pixel = [&](int x, int y) { return &rgba[(std::size_t(y) * TestGlDevice::width + x) * 4]; };
    const std::uint8_t* centre = pixel(TestGlDevice::width / 2, TestGlDevice::height / 2);
    EXPECT_GT(centre[0], 200);
    EXPECT_LT(centre[2], 50);
    std::size_t grey = 0, skyBlue = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        grey += rgba[i] == 128 && rgba[i + 1] == 128 && rgba[i + 2] == 128;
        skyBlue += rgba[i] < 10 && rgba[i + 1] < 10 && rgba[i + 2] > 245;
    }
    EXPECT_EQ(grey, 0u) << "the clear colour shows where the sky should be";
    EXPECT_GT(skyBlue, rgba.size() / 4 * 9 / 10);

    // A hidden sky's parent hides the sky.
    sky->setParent(far);
    far->setVisible(false);
    const std::vector<std::uint8_t> none = gl.frame(video::SColor(255, 128, 128, 128));
    EXPECT_EQ(none[0], 128);
}
