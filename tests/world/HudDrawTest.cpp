#include "ScratchGame.h"
#include "TorvelApp.h"
#include "EngineContext.h"

#include <irrlicht.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace irr;

namespace {

// The top left part of the window, where the HUD text lives.
const s32 REGION_W = 400;
const s32 REGION_H = 160;

const wchar_t* const FRESH_TEXT = L"RNDS REMAIN: 80\nAIRCFT REMAIN: 0\nPOINTS: 0";

class HudDrawTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        app.reset();
        destroyEngineContext();
    }

    void startGame()
    {
        game.writeHeightMap(33, 0, 20);
        app = std::make_unique<TorvelApp>();
        ASSERT_TRUE(app->getFireUnit().isReady());
    }

    // Draws one frame on black with view and projection of a camera that
    // looks along the axes at the given eye, and returns the RGB pixels of
    // the window, top row first, read from the back buffer before the swap
    // (the front buffer reads back black on this renderer).
    std::vector<u8> grab(const std::function<void()>& draw, s32 width, s32 height,
                         const core::vector3df& eye = core::vector3df(0, 0, 10),
                         const core::vector3df& target = core::vector3df(0, 0, 20))
    {
        video::IVideoDriver* driver = getVideoDriver();
        driver->beginScene(true, true, video::SColor(255, 0, 0, 0));
        driver->setTransform(video::ETS_VIEW, viewMatrix(eye, target));
        driver->setTransform(video::ETS_PROJECTION, projectionMatrix());
        draw();
        const s32 screenH = s32(driver->getScreenSize().Height);
        std::vector<u8> bottomUp(size_t(width) * height * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, screenH - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        driver->endScene();
        std::vector<u8> topDown(bottomUp.size());
        for (s32 row = 0; row < height; ++row)
            std::copy_n(&bottomUp[size_t(height - 1 - row) * width * 3], width * 3,
                        &topDown[size_t(row) * width * 3]);
        return topDown;
    }

    std::vector<u8> grabRegion(const std::function<void()>& draw) { return grab(draw, REGION_W, REGION_H); }

    // What the HUD must show: the text drawn straight with the given font.
    std::vector<u8> expectedText(gui::IGUIFont* font, const wchar_t* text)
    {
        return grabRegion([=] {
            font->draw(text, core::rect<s32>(10, 10, 100, 100), video::SColor(255, 255, 255, 255));
        });
    }

    std::vector<u8> hud() { return grabRegion([this] { app->drawHud(app->hudLines()); }); }

    static core::matrix4 viewMatrix(const core::vector3df& eye, const core::vector3df& target)
    {
        core::matrix4 view;
        view.buildCameraLookAtMatrixLH(eye, target, core::vector3df(0, 1, 0));
        return view;
    }

    static core::matrix4 projectionMatrix()
    {
        const core::dimension2du screen = getVideoDriver()->getScreenSize();
        core::matrix4 projection;
        projection.buildProjectionMatrixPerspectiveFovLH(1.0f, f32(screen.Width) / screen.Height, 0.1f, 100.0f);
        return projection;
    }

    gui::IGUIFont* builtInFont() const { return getDevice()->getGUIEnvironment()->getBuiltInFont(); }

    ScratchGame game;             // first: it moves into the scratch bin/
    std::unique_ptr<TorvelApp> app;
};

u32 countWhite(const std::vector<u8>& rgb)
{
    u32 white = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        white += rgb[i] > 200 && rgb[i + 1] > 200 && rgb[i + 2] > 200;
    return white;
}

// Rows [top, bottom) of the region that hold any lit pixel.
bool rowsLit(const std::vector<u8>& rgb, s32 top, s32 bottom)
{
    for (size_t i = size_t(top) * REGION_W * 3; i < size_t(bottom) * REGION_W * 3; ++i)
        if (rgb[i] != 0)
            return true;
    return false;
}

bool columnsLit(const std::vector<u8>& rgb, s32 left, s32 right)
{
    for (s32 row = 0; row < REGION_H; ++row)
        for (s32 col = left; col < right; ++col)
            for (s32 c = 0; c < 3; ++c)
                if (rgb[(size_t(row) * REGION_W + col) * 3 + c] != 0)
                    return true;
    return false;
}

} // namespace

TEST_F(HudDrawTest, FreshGameShowsRoundsJetsAndPointsInTheHudFont)
{
    game.writeFont("fontlucida.png");
    startGame();
    gui::IGUIFont* font = getHudFont();
    ASSERT_NE(font, nullptr);

    const std::vector<u8> shown = hud();
    const std::vector<u8> expected = expectedText(font, FRESH_TEXT);
    EXPECT_GT(countWhite(shown), 200u);
    EXPECT_TRUE(shown == expected) << "the HUD differs from the fresh game's three lines";
    EXPECT_FALSE(shown == expectedText(builtInFont(), FRESH_TEXT)) << "drawn in the built-in font";
    // Nothing above or left of the text's corner at (10, 10).
    EXPECT_FALSE(rowsLit(shown, 0, 10));
    EXPECT_FALSE(columnsLit(shown, 0, 10));
    EXPECT_TRUE(rowsLit(shown, 10, 14));
}

TEST_F(HudDrawTest, MissingFontFallsBackToTheBuiltInFont)
{
    startGame();
    ASSERT_EQ(getHudFont(), nullptr);

    const std::vector<u8> shown = hud();
    EXPECT_GT(countWhite(shown), 100u);
    EXPECT_TRUE(shown == expectedText(builtInFont(), FRESH_TEXT));
    // Three lines of text, the lowest of them well below the first.
    const s32 lineHeight = s32(builtInFont()->getDimension(L"P").Height);
    EXPECT_TRUE(rowsLit(shown, 10 + 2 * lineHeight, 10 + 3 * lineHeight));
}

TEST_F(HudDrawTest, ReloadingGunsShowTheNotice)
{
    game.writeFont("fontlucida.png");
    startGame();

    SEvent reload{};
    reload.EventType = EET_JOYSTICK_INPUT_EVENT;
    reload.JoystickEvent.ButtonStates = 1u << 2;
    reload.JoystickEvent.POV = 65535;
    app->OnEvent(reload);
    ASSERT_TRUE(app->getFireUnit().isReloading());

    // The notice is followed by the reload's seconds still to run.
    EXPECT_TRUE(hud() == expectedText(getHudFont(),
                                      L"RNDS REMAIN: [RELOADING] 15 s\nAIRCFT REMAIN: 0\nPOINTS: 0"));
}

TEST_F(HudDrawTest, AxisMarksAreRedGreenBlueFromTheOrigin)
{
    startGame();
    const core::vector3df eye(2.0f, 1.5f, -2.5f);
    const core::vector3df target(0.3f, 0.3f, 0.3f);
    const core::dimension2du screen = getVideoDriver()->getScreenSize();
    const std::vector<u8> frame = grab([this] {
        // A world transform left over from the scene must not move the marks.
        getVideoDriver()->setTransform(video::ETS_WORLD, core::matrix4().setTranslation(core::vector3df(50, 0, 0)));
        app->drawHud(app->hudLines());
    }, s32(screen.Width), s32(screen.Height), eye, target);

    core::matrix4 toClip = projectionMatrix();
    toClip *= viewMatrix(eye, target);
    // The colour at the middle of each mark, the strongest of a few pixels around it.
    auto colourAt = [&](const core::vector3df& point) {
        f32 clip[4] = {point.X, point.Y, point.Z, 1.0f};
        toClip.multiplyWith1x4Matrix(clip);
        const s32 x = s32((clip[0] / clip[3] * 0.5f + 0.5f) * screen.Width);
        const s32 y = s32((0.5f - clip[1] / clip[3] * 0.5f) * screen.Height);
        video::SColor best(0, 0, 0, 0);
        for (s32 dy = -2; dy <= 2; ++dy)
            for (s32 dx = -2; dx <= 2; ++dx) {
                const u8* p = &frame[(size_t(y + dy) * screen.Width + (x + dx)) * 3];
                if (u32(p[0] + p[1] + p[2]) > best.getRed() + best.getGreen() + best.getBlue())
                    best = video::SColor(255, p[0], p[1], p[2]);
            }
        return best;
    };
    const video::SColor x = colourAt(core::vector3df(0.6f, 0, 0));
    const video::SColor y = colourAt(core::vector3df(0, 0.6f, 0));
    const video::SColor z = colourAt(core::vector3df(0, 0, 0.6f));
    EXPECT_GT(x.getRed(), 150u);
    EXPECT_LT(x.getGreen() + x.getBlue(), 60u);
    EXPECT_GT(y.getGreen(), 150u);
    EXPECT_LT(y.getRed() + y.getBlue(), 60u);
    EXPECT_GT(z.getBlue(), 150u);
    EXPECT_LT(z.getRed() + z.getGreen(), 60u);
    // Nothing beyond the one unit of each mark.
    const video::SColor past = colourAt(core::vector3df(1.4f, 0, 0));
    EXPECT_EQ(past.getRed() + past.getGreen() + past.getBlue(), 0u);
}
