// The HUD read over the sky: the game turned to look all round, the frames
// it writes for T measured where its three lines stand. Whatever the sky
// behind, the text keeps a contrast of at least 4.5 : 1 with every pixel of
// its band, the accessibility guidelines' figure for text.

#include "TorvelApp.h"

#include "Airspace.h"
#include "ContrastMeter.h"
#include "EngineContext.h"
#include "HudBand.h"

#include <TestEvents.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace irr;

TEST(ContrastMeter, ReckonsAsTheGuidelinesDo)
{
    using ContrastMeter::luminance;
    using ContrastMeter::ratio;
    const double white = luminance(video::SColor(255, 255, 255, 255));
    EXPECT_NEAR(ratio(white, luminance(video::SColor(255, 0, 0, 0))), 21.0, 1e-9);
    EXPECT_NEAR(ratio(white, white), 1.0, 1e-9);
    // The guidelines' own example: grey 118 on white is just 4.5 : 1 (4.54).
    EXPECT_NEAR(ratio(white, luminance(video::SColor(255, 118, 118, 118))), 4.54, 0.01);
    EXPECT_NEAR(luminance(video::SColor(255, 255, 0, 0)), 0.2126, 1e-9);
}

TEST(HudContrast, TheHudReadsOverTheBrightestSky)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    char pattern[] = "/tmp/torvel-contrast-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dataHome = pattern;
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    u32 clock = 50000;
    TorvelApp* app = new TorvelApp();
    app->setFollowsFocus(false);
    app->setClock([&clock] { return clock; });
    FireUnit& unit = app->getFireUnit();
    video::IVideoDriver* driver = getVideoDriver();
    gui::IGUIFont* font = getHudFont();
    ASSERT_NE(font, nullptr);
    const core::rect<s32> band =
        HudBand::area(font, L"RNDS REMAIN: 80\nAIRCFT REMAIN: 0\nPOINTS: 0", core::position2d<s32>(10, 10));

    // The game's own capture of one look, read back; the caller drops it.
    auto capture = [&](f32 yaw, f32 pitch, const char* name) {
        unit.getTurretBase()->setRotation(core::vector3df(0, yaw, 0));
        unit.getGuns()->setRotation(core::vector3df(pitch, 0, 0));
        clock += 17;
        EXPECT_TRUE(app->step());
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true)));
        const std::string shot = app->getPendingScreenshots()[0].c_str();
        clock += 17;
        EXPECT_TRUE(app->step());
        video::IImage* picture = driver->createImageFromFile(shot.c_str());
        if (const char* keep = std::getenv("TORVEL_CONTRAST_CAPTURES"))
            std::filesystem::copy_file(shot, std::string(keep) + "/" + name + ".png",
                                       std::filesystem::copy_options::overwrite_existing);
        std::remove(shot.c_str());
        return picture;
    };

    // The brightest thing in the sky is the sun in its glow. Found in a
    // look that shows it, as the middle of its white disc, and turned into
    // a direction through the camera's own projection.
    scene::ISceneCollisionManager* projection = getSceneManager()->getSceneCollisionManager();
    core::vector3df sun;
    {
        video::IImage* picture = capture(225.0f, -60.0f, "hud-sun-found");
        ASSERT_NE(picture, nullptr);
        double sx = 0, sy = 0;
        int count = 0;
        // Inside the disc every pixel round about is white too, which rules
        // out the thin strokes of the words on the screen.
        auto discAt = [picture](u32 x, u32 y) {
            for (u32 dy = 0; dy < 5; ++dy)
                for (u32 dx = 0; dx < 5; ++dx)
                    if (ContrastMeter::luminance(picture->getPixel(x + dx - 2, y + dy - 2)) <= 0.97)
                        return false;
            return true;
        };
        for (u32 y = 100; y + 2 < picture->getDimension().Height; ++y)
            for (u32 x = 2; x + 2 < picture->getDimension().Width; ++x)
                if (discAt(x, y)) {
                    sx += x;
                    sy += y;
                    ++count;
                }
        picture->drop();
        ASSERT_GT(count, 20) << "no sun in the look that shows it";
        const core::line3df ray = projection->getRayFromScreenCoordinates(
            core::position2di(s32(sx / count), s32(sy / count)), unit.getCamera());
        sun = (ray.end - ray.start).normalize();
    }
    // A few frames drawn, each turning the turret by what the line of sight
    // through the HUD's middle still misses the sun by, in heading and in
    // height: the turret turns about the upright, the guns about their own
    // level axis, so the two are nearly apart.
    auto heading = [](const core::vector3df& v) { return std::atan2(v.X, v.Z) * core::RADTODEG; };
    auto height = [](const core::vector3df& v) { return std::asin(std::max(-1.0f, std::min(1.0f, v.Y))) * core::RADTODEG; };
    // Done once the sun's disc, some 20 pixels across, stands wholly behind the band.
    core::rect<s32> inner = band;
    inner.UpperLeftCorner += core::position2di(15, 15);
    inner.LowerRightCorner -= core::position2di(15, 15);
    f32 sunYaw = heading(sun), sunPitch = -height(sun);
    bool behind = false;
    for (int i = 0; i < 12 && !behind; ++i) {
        unit.getTurretBase()->setRotation(core::vector3df(0, sunYaw, 0));
        unit.getGuns()->setRotation(core::vector3df(sunPitch, 0, 0));
        clock += 17;
        ASSERT_TRUE(app->step());
        const core::position2di at =
            projection->getScreenCoordinatesFrom3DPosition(sun * 3000.0f, unit.getCamera());
        behind = inner.isPointInside(at);
        if (behind)
            break;
        const core::line3df ray = projection->getRayFromScreenCoordinates(band.getCenter(), unit.getCamera());
        const core::vector3df sight = (ray.end - ray.start).normalize();
        f32 turn = heading(sun) - heading(sight);
        turn = turn > 180.0f ? turn - 360.0f : turn < -180.0f ? turn + 360.0f : turn;
        sunYaw += turn;
        sunPitch -= height(sun) - height(sight);
    }
    ASSERT_TRUE(behind) << "no aim puts the sun behind the HUD";

    struct Look {
        f32 yaw, pitch;
        ContrastMeter::Band measured;
        double halo;   // mean luminance of the sky just right of the band
    };
    std::vector<Look> looks{{sunYaw, sunPitch, {}, 0.0}, {90, -10, {}, 0.0}, {225, -10, {}, 0.0}, {135, -10, {}, 0.0}};
    for (Look& look : looks) {
        const std::string name = "hud-" + std::to_string(int(look.yaw)) + "-" + std::to_string(int(-look.pitch));
        video::IImage* picture = capture(look.yaw, look.pitch, name.c_str());
        ASSERT_NE(picture, nullptr);
        look.measured = ContrastMeter::measure(picture, band, video::SColor(255, 255, 255, 255));
        s32 count = 0;
        for (s32 y = band.UpperLeftCorner.Y; y < band.LowerRightCorner.Y; ++y)
            for (s32 x = band.LowerRightCorner.X + 2; x < band.LowerRightCorner.X + 40; ++x, ++count)
                look.halo += ContrastMeter::luminance(picture->getPixel(u32(x), u32(y)));
        look.halo /= count;
        picture->drop();
        std::printf("HUD over the sky at yaw %.1f, guns %.1f: sky beside the band %.2f, lightest pixel under it "
                    "%.3f, the text's contrast at least %.1f : 1 (%.0f %% of the band behind the text)\n",
                    look.yaw, look.pitch, look.halo, look.measured.brightest, look.measured.worst,
                    100.0 * look.measured.background);
        EXPECT_GT(look.measured.background, 0.5) << "the band is mostly as light as the text";
        EXPECT_GE(look.measured.worst, 4.5);
    }
    // The sun's glow reaches out beside the band further than any cloud's light.
    for (std::size_t i = 1; i < looks.size(); ++i)
        EXPECT_GT(looks[0].halo, looks[i].halo) << "the sun's glow is not beside the HUD";

    getAirspace()->stop();
    delete app;
    destroyEngineContext();
    std::filesystem::remove_all(dataHome);
}
