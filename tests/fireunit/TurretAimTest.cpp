#include "TurretAim.h"

#include <gtest/gtest.h>

#include <cmath>

using irr::core::vector3df;

TEST(TurretAim, AxisDeadZoneAndScale)
{
    EXPECT_EQ(TurretAim::axisInput(0), 0.0f);
    EXPECT_EQ(TurretAim::axisInput(327), 0.0f);
    EXPECT_EQ(TurretAim::axisInput(-327), 0.0f);
    // From 328 on the value is used as it is, not rescaled past the dead zone.
    EXPECT_FLOAT_EQ(TurretAim::axisInput(328), -328.0f / 32767.0f);
    EXPECT_FLOAT_EQ(TurretAim::axisInput(-328), 328.0f / 32767.0f);
    EXPECT_FLOAT_EQ(TurretAim::axisInput(32767), -1.0f);
    EXPECT_FLOAT_EQ(TurretAim::axisInput(-32768), 1.0000305f);
}

TEST(TurretAim, SmoothingSettlesAndCoastsWithoutReset)
{
    float rate = 0.0f;
    for (int i = 0; i < 400; ++i)
        rate = TurretAim::smooth(rate, -1.0f);
    EXPECT_NEAR(rate, -1.0f, 1e-4f);

    // Stick centred: the rate decays by 0.95 per event and never snaps to 0.
    const float settled = rate;
    for (int i = 1; i <= 60; ++i) {
        const float before = rate;
        rate = TurretAim::smooth(rate, 0.0f);
        EXPECT_FLOAT_EQ(rate, before * 0.95f);
    }
    EXPECT_NEAR(rate, settled * std::pow(0.95f, 60.0f), 1e-5f);
    EXPECT_LT(rate, 0.0f);
}

TEST(TurretAim, TurnWrapsWithinZeroTo360)
{
    EXPECT_FLOAT_EQ(TurretAim::turn(360.0f, 0.0f), 360.0f);
    EXPECT_FLOAT_EQ(TurretAim::turn(359.5f, -0.5f), 360.0f);
    EXPECT_FLOAT_EQ(TurretAim::turn(360.0f, -0.5f), 0.5f);
    EXPECT_FLOAT_EQ(TurretAim::turn(0.0f, 0.5f), 359.5f);
    EXPECT_FLOAT_EQ(TurretAim::turn(90.0f, 1.0f), 89.0f);
    // A negative rate (stick to the right) turns the Y angle up, round and round.
    float yaw = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        yaw = TurretAim::turn(yaw, -1.0f);
        ASSERT_GE(yaw, 0.0f);
        ASSERT_LE(yaw, 360.0f);
    }
    EXPECT_NEAR(yaw, 1000.0f - 720.0f, 1e-3f);
}

TEST(TurretAim, ElevationStopsAtItsLimits)
{
    EXPECT_FLOAT_EQ(TurretAim::elevate(0.0f, -1.0f), -1.0f);
    EXPECT_FLOAT_EQ(TurretAim::elevate(4.5f, 1.0f), 5.0f);
    EXPECT_FLOAT_EQ(TurretAim::elevate(-84.5f, -1.0f), -85.0f);
    float pitch = 0.0f;
    for (int i = 0; i < 500; ++i)
        pitch = TurretAim::elevate(pitch, -1.0f);
    EXPECT_EQ(pitch, -85.0f);
    for (int i = 0; i < 500; ++i)
        pitch = TurretAim::elevate(pitch, 1.0f);
    EXPECT_EQ(pitch, 5.0f);
}

TEST(TurretAim, ShotLineEndsAtRangeFromTheOrigin)
{
    const irr::core::line3df east = TurretAim::shotLine(vector3df(0, 1.75f, 0), vector3df(100, 0, 0));
    EXPECT_EQ(east.start, vector3df(0, 1.75f, 0));
    EXPECT_NEAR(east.end.X, 3999.4f, 0.05f);
    EXPECT_NEAR(east.end.Y, -70.0f, 0.05f);
    EXPECT_NEAR(east.end.Z, 0.0f, 1e-3f);
    EXPECT_NEAR(east.end.getLength(), 4000.0f, 0.01f);

    // Looking nowhere: the direction stays zero and the line ends at the origin.
    const irr::core::line3df nowhere = TurretAim::shotLine(vector3df(1, 2, 3), vector3df(1, 2, 3));
    EXPECT_EQ(nowhere.start, vector3df(1, 2, 3));
    EXPECT_EQ(nowhere.end, vector3df(0, 0, 0));
}

TEST(TurretAim, CrosshairIsCentred)
{
    using irr::core::dimension2du;
    using irr::core::position2di;
    EXPECT_EQ(TurretAim::crosshairPosition(dimension2du(1366, 768)), position2di(555, 256));
    // Halves round down.
    EXPECT_EQ(TurretAim::crosshairPosition(dimension2du(1025, 769)), position2di(384, 256));
    // A window smaller than the image puts its corner off screen.
    EXPECT_EQ(TurretAim::crosshairPosition(dimension2du(100, 0)), position2di(-78, -128));
}
