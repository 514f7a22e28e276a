#include "EngineContext.h"

#include "Airspace.h"
#include "AudioManager.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

using namespace irr;

TEST(EngineContext, FirstAccessorCreatesEverythingAndLaterCallsReturnTheSame)
{
    ASSERT_FALSE(hasEngineContext());
    scene::ISceneManager* scene = getSceneManager();
    ASSERT_TRUE(hasEngineContext());

    IrrlichtDevice* device = getDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(scene, device->getSceneManager());
    EXPECT_EQ(getVideoDriver(), device->getVideoDriver());
    EXPECT_NE(getAudioManager(), nullptr);
    ASSERT_NE(getAirspace(), nullptr);
    EXPECT_NE(getHudFont(), nullptr) << "the baked HUD font should load";

    EXPECT_EQ(getVideoDriver()->getScreenSize(), core::dimension2du(1366, 768));
    EXPECT_EQ(getVideoDriver()->getDriverType(), video::EDT_OPENGL);

    // The airspace starts idle.
    EXPECT_FALSE(getAirspace()->isActive());
    EXPECT_EQ(getAirspace()->getAircraftLeft(), 0u);
    EXPECT_EQ(getAirspace()->getPoints(), 0u);

    EXPECT_EQ(getDevice(), device);
    EXPECT_EQ(getSceneManager(), scene);
    Airspace* airspace = getAirspace();
    gui::IGUIFont* font = getHudFont();
    torvel::AudioManager* audio = getAudioManager();
    EXPECT_EQ(getAirspace(), airspace);
    EXPECT_EQ(getHudFont(), font);
    EXPECT_EQ(getAudioManager(), audio);

    destroyEngineContext();
}

TEST(EngineContext, AnyAccessorMayComeFirst)
{
    ASSERT_NE(getHudFont(), nullptr);
    EXPECT_TRUE(hasEngineContext());
    EXPECT_NE(getDevice(), nullptr);
    destroyEngineContext();

    ASSERT_NE(getAirspace(), nullptr);
    EXPECT_NE(getVideoDriver(), nullptr);
    destroyEngineContext();
}

TEST(EngineContext, TeardownIsSafeTwiceAndWithoutContext)
{
    destroyEngineContext();
    EXPECT_FALSE(hasEngineContext());

    getDevice();
    destroyEngineContext();
    EXPECT_FALSE(hasEngineContext());
    destroyEngineContext();
    EXPECT_FALSE(hasEngineContext());
}

TEST(EngineContext, TeardownReleasesTheDeviceItHolds)
{
    IrrlichtDevice* device = getDevice();
    device->grab();
    const s32 before = device->getReferenceCount();
    destroyEngineContext();
    EXPECT_EQ(device->getReferenceCount(), before - 1);
    device->drop();
}
