// The baked sky box as the engine shows it in a real OpenGL window: every
// direction, on the faces, along their edges and in their corners, shows the
// sky's colour for that direction. A face in the wrong place, turned or
// mirrored, or a seam between two faces, shows the wrong colour.

#include "SkyModel.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace irr;
using core::vector3df;

namespace {

std::string resPath(const char* name)
{
    return std::string(RES_DIR) + "/" + name;
}

// The lowest and highest value of each channel that the sky takes within a
// texel or two of `d`: the window's centre and the texture filter blur that much.
void modelRange(const SkyModel& model, const vector3df& d, video::SColorf& low, video::SColorf& high)
{
    vector3df side = d.crossProduct(vector3df(0, 1, 0));
    if (side.getLength() < 0.1f)
        side = d.crossProduct(vector3df(1, 0, 0));
    side.normalize();
    const vector3df up = side.crossProduct(d).normalize();
    low = video::SColorf(1, 1, 1);
    high = video::SColorf(0, 0, 0);
    const float step = 0.004f;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            const video::SColorf c = model.colour((d + side * (i * step) + up * (j * step)).normalize());
            low = video::SColorf(std::min(low.r, c.r), std::min(low.g, c.g), std::min(low.b, c.b));
            high = video::SColorf(std::max(high.r, c.r), std::max(high.g, c.g), std::max(high.b, c.b));
        }
    }
}

} // namespace

TEST(SkyBoxView, EveryDirectionShowsItsSkyColour)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2du(640, 480), 32, false, false, false);
    ASSERT_NE(device, nullptr);
    video::IVideoDriver* driver = device->getVideoDriver();
    scene::ISceneManager* scene = device->getSceneManager();
    // The faces as the game assigns them: left sky3, right sky1, front sky0, back sky2.
    scene->addSkyBoxSceneNode(driver->getTexture(resPath("skytop.jpg").c_str()),
        driver->getTexture(resPath("skybottom.jpg").c_str()), driver->getTexture(resPath("sky3.jpg").c_str()),
        driver->getTexture(resPath("sky1.jpg").c_str()), driver->getTexture(resPath("sky0.jpg").c_str()),
        driver->getTexture(resPath("sky2.jpg").c_str()));
    scene::ICameraSceneNode* camera = scene->addCameraSceneNode(nullptr, vector3df(0, 1.75f, 0));
    camera->setNearValue(0.01f);
    camera->setFarValue(4000.0f);

    const SkyModel model;
    std::vector<vector3df> directions = {
        // Face centres.
        {0, 0.2f, -1}, {0, 0.2f, 1}, {1, 0.2f, 0}, {-1, 0.2f, 0}, {0.001f, 1, 0.001f},
        // The edges between the side faces and the top, the sun's among them.
        {0, 1, -1}, {0, 1, 1}, {1, 1, 0}, {-1, 1, 0}, {0.3f, 1, -1}, {-1, 1, 0.6f},
        // The upright edges between side faces, and the corners with the top.
        {1, 0.6f, 1}, {-1, 0.6f, 1}, {1, 0.6f, -1}, {-1, 0.3f, -1}, {1, 1, 1}, {-1, 1, 1}, {1, 1, -1}, {-1, 1, -1},
        // Below the horizon.
        {0.3f, -0.5f, 1}, {0, -1, 0.001f}};
    // Clear sky is the same in mirrored and turned directions, so only clouds
    // tell a face turned or swapped from the right one: add directions whose
    // sky differs from every mirror image and quarter turn about the vertical.
    for (int i = 0; i < 600 && directions.size() < 60; ++i) {
        const float y = std::fmod(i * 0.618034f, 1.0f) * 0.95f + 0.04f;
        const float angle = i * 2.399963f;
        const float r = std::sqrt(1.0f - y * y);
        const vector3df d(r * std::cos(angle), y, r * std::sin(angle));
        const vector3df images[] = {{-d.X, d.Y, d.Z}, {d.X, d.Y, -d.Z}, {d.Z, d.Y, d.X}, {-d.Z, d.Y, -d.X},
            {-d.X, d.Y, -d.Z}, {d.Z, d.Y, -d.X}, {-d.Z, d.Y, d.X}};
        const video::SColorf c = model.colour(d);
        float least = 1.0f;
        for (const vector3df& image : images) {
            const video::SColorf other = model.colour(image);
            least = std::min(least, std::fabs(c.r - other.r) + std::fabs(c.g - other.g) + std::fabs(c.b - other.b));
        }
        if (least > 0.25f)
            directions.push_back(d);
    }
    ASSERT_GE(directions.size(), 50u);
    int wrong = 0;
    for (vector3df d : directions) {
        d.normalize();
        camera->setUpVector(std::fabs(d.Y) > 0.9f ? vector3df(0, 0, 1) : vector3df(0, 1, 0));
        camera->setTarget(camera->getPosition() + d * 100.0f);
        ASSERT_TRUE(device->run());
        driver->beginScene(true, true, video::SColor(255, 255, 0, 255));
        scene->drawAll();
        // The window's centre, read from the frame before it is shown: the
        // software renderer's front buffer is not readable after the swap.
        unsigned char pixel[3] = {0, 0, 0};
        glReadBuffer(GL_BACK);
        glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        driver->endScene();

        video::SColorf low;
        video::SColorf high;
        modelRange(model, d, low, high);
        const float slack = 10.0f; // the images' compression and the filter
        const bool inside = pixel[0] >= low.r * 255 - slack && pixel[0] <= high.r * 255 + slack
            && pixel[1] >= low.g * 255 - slack && pixel[1] <= high.g * 255 + slack
            && pixel[2] >= low.b * 255 - slack && pixel[2] <= high.b * 255 + slack;
        if (!inside)
            ++wrong;
        EXPECT_TRUE(inside) << "looking along (" << d.X << ", " << d.Y << ", " << d.Z << ") the window shows "
                            << int(pixel[0]) << "," << int(pixel[1]) << "," << int(pixel[2]) << ", the sky is "
                            << low.r * 255 << ".." << high.r * 255 << ", " << low.g * 255 << ".." << high.g * 255
                            << ", " << low.b * 255 << ".." << high.b * 255;
    }
    EXPECT_EQ(wrong, 0);
    device->drop();
}
