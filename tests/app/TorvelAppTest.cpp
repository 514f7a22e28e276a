#include "TorvelApp.h"

#include "Airspace.h"
#include "EngineContext.h"

#include <TestEvents.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdio>
#include <cctype>
#include <chrono>

using namespace irr;

namespace {

class TorvelAppTest : public ::testing::Test {
protected:
    void SetUp() override { app = new TorvelApp(); }
    void TearDown() override
    {
        getAirspace()->stop();
        delete app;
        destroyEngineContext();
    }

    TorvelApp* app = nullptr;
};

} // namespace

TEST_F(TorvelAppTest, BuildsAWorkingTurretAndTakesOverEvents)
{
    ASSERT_TRUE(app->getFireUnit().isReady());
    EXPECT_EQ(getDevice()->getEventReceiver(), app);
    EXPECT_EQ(app->getFireUnit().getRoundsLeft(), 80u);
    EXPECT_TRUE(getDevice()->run());
}

TEST_F(TorvelAppTest, RoundKeysActOnKeyDownWhateverTheModifiers)
{
    Airspace* airspace = getAirspace();
    for (int modifiers = 0; modifiers < 4; ++modifiers) {
        const bool shift = modifiers & 1, control = modifiers & 2;
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true, shift, control)));
        EXPECT_TRUE(airspace->isActive());
        EXPECT_EQ(airspace->getAircraftLeft(), 5u);

        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F10, true, shift, control)));
        EXPECT_FALSE(airspace->isActive());
        EXPECT_EQ(airspace->getAircraftLeft(), 5u) << "stop keeps the counters";
    }
}

TEST_F(TorvelAppTest, KeyUpsAndOtherKeysGoToTheFireUnit)
{
    Airspace* airspace = getAirspace();
    for (EKEY_CODE key : {KEY_KEY_T, KEY_F9, KEY_F10, KEY_F12}) {
        // The fire unit answers false for every key; the app passes that on.
        EXPECT_FALSE(app->OnEvent(TestEvents::key(key, false)));
    }
    EXPECT_FALSE(airspace->isActive());
    EXPECT_TRUE(app->getPendingScreenshots().empty());
    EXPECT_TRUE(getDevice()->run());

    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_KEY_A, true)));
    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_F11, true)));

    SEvent mouse{};
    mouse.EventType = EET_MOUSE_INPUT_EVENT;
    mouse.MouseInput.Event = EMIE_MOUSE_MOVED;
    EXPECT_FALSE(app->OnEvent(mouse));
}

TEST_F(TorvelAppTest, JoystickEventsReachTheTurret)
{
    FireUnit& unit = app->getFireUnit();
    EXPECT_TRUE(app->OnEvent(TestEvents::joystick(0, 0, 1)));
    EXPECT_EQ(unit.getBurstRounds(), 16u);
    EXPECT_EQ(unit.getBurstsLeft(), 4u);

    const f32 yawBefore = unit.getTurretBase()->getRotation().Y;
    EXPECT_TRUE(app->OnEvent(TestEvents::joystick(32767, 0, 0)));
    EXPECT_NE(unit.getTurretBase()->getRotation().Y, yawBefore);
}

TEST_F(TorvelAppTest, F12EndsTheLoopWithoutAnotherFrame)
{
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F12, true, true, false)));
    EXPECT_FALSE(getDevice()->run());
    app->run(); // returns at once
}

TEST_F(TorvelAppTest, EveryTKeyDownWritesTheNextFrameUnderItsOwnTime)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true, i == 1, i == 2)));
    ASSERT_EQ(app->getPendingScreenshots().size(), 3u);
    for (u32 i = 0; i < 3; ++i) {
        const core::stringc& name = app->getPendingScreenshots()[i];
        ASSERT_GT(name.size(), 4u);
        EXPECT_EQ(name.subString(name.size() - 4, 4), ".png");
        for (u32 c = 0; c + 4 < name.size(); ++c)
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[c]))) << name.c_str();
        EXPECT_TRUE(name == "0.png" || name[0] != '0') << name.c_str();
    }
    const core::array<core::stringc> names = app->getPendingScreenshots();
    for (u32 i = 0; i < names.size(); ++i)
        std::remove(names[i].c_str());
    const core::stringc& name = names[0];

    app->frame();
    EXPECT_TRUE(app->getPendingScreenshots().empty());

    video::IImage* shot = getVideoDriver()->createImageFromFile(name);
    ASSERT_NE(shot, nullptr) << "no file " << name.c_str();
    EXPECT_EQ(shot->getDimension(), getVideoDriver()->getScreenSize());
    // A real frame: the sky at the top, the mid-grey clear colour nowhere near black.
    u64 sum = 0;
    const core::dimension2du size = shot->getDimension();
    for (u32 y = 0; y < size.Height; y += 16)
        for (u32 x = 0; x < size.Width; x += 16) {
            const video::SColor c = shot->getPixel(x, y);
            sum += c.getRed() + c.getGreen() + c.getBlue();
        }
    const double mean = double(sum) / (3.0 * (size.Width / 16 + 1) * (size.Height / 16 + 1));
    EXPECT_GT(mean, 40.0);
    shot->drop();
    for (u32 i = 0; i < names.size(); ++i)
        std::remove(names[i].c_str());
}

TEST_F(TorvelAppTest, WithoutAJoystickTheKeysWorkTheTurretEveryFrame)
{
    ASSERT_TRUE(app->usesVirtualStick()) << "no joystick on the test machine";
    FireUnit& unit = app->getFireUnit();

    // Holding Right turns the turret a little more with every frame.
    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_RIGHT, true))) << "the stick only watches";
    f32 yaw = unit.getTurretBase()->getRotation().Y;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(app->step());
        const f32 now = unit.getTurretBase()->getRotation().Y;
        EXPECT_GT(now, yaw);
        yaw = now;
    }
    app->OnEvent(TestEvents::key(KEY_RIGHT, false));

    // Space fires one burst however long it is held; R starts a reload.
    app->OnEvent(TestEvents::key(KEY_SPACE, true));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(app->step());
    EXPECT_EQ(unit.getRoundsLeft(), 64u);
    app->OnEvent(TestEvents::key(KEY_SPACE, false));
    ASSERT_TRUE(app->step());
    EXPECT_FALSE(unit.isReloading());
    app->OnEvent(TestEvents::key(KEY_KEY_R, true));
    ASSERT_TRUE(app->step());
    EXPECT_TRUE(unit.isReloading());
}

// Xvfb's software renderer refuses vsync: the loop then sleeps to hold 60
// frames a second instead of drawing as many as it can (the world alone
// takes about 13 ms a frame on an idle machine, well under the 16.7 ms).
TEST_F(TorvelAppTest, WhereVsyncIsRefusedTheLoopHoldsSixtyFramesASecond)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(app->step());
    ASSERT_TRUE(isVsyncRefused()) << "the X server here answers the vsync request with an error";

    const auto begin = std::chrono::steady_clock::now();
    const int frames = 60;
    for (int i = 0; i < frames; ++i)
        ASSERT_TRUE(app->step());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_GE(seconds, (frames - 1) / 60.0);
}
