#include "HitMarker.h"

#include <gtest/gtest.h>

TEST(HitMarker, ShowsOnlyAfterAHitForFourTenths)
{
    HitMarker marker;
    HitMarker::Look look{};
    EXPECT_FALSE(marker.lookAt(0, look));
    EXPECT_FALSE(marker.lookAt(100, look));

    marker.hit(2000);
    ASSERT_TRUE(marker.lookAt(2000, look));
    EXPECT_FLOAT_EQ(look.spread, HitMarker::startSpread);
    EXPECT_FLOAT_EQ(look.alpha, 1.0f);
    ASSERT_TRUE(marker.lookAt(2149, look));
    EXPECT_FLOAT_EQ(look.alpha, 1.0f);
    ASSERT_TRUE(marker.lookAt(2275, look));
    EXPECT_FLOAT_EQ(look.alpha, 0.5f);
    EXPECT_GT(look.spread, HitMarker::startSpread);
    EXPECT_LT(look.spread, HitMarker::endSpread);
    EXPECT_FALSE(marker.lookAt(2400, look));
    // Stays inside the sight's inner ring, clear of its centre cross's reach.
    EXPECT_LE(HitMarker::endSpread + HitMarker::tickLength, 40.0f);
}

TEST(HitMarker, ANewHitStartsItAfreshAndTheClockMayWrap)
{
    HitMarker marker;
    HitMarker::Look look{};
    marker.hit(0xFFFFFF00u);
    ASSERT_TRUE(marker.lookAt(0xFFFFFF00u + 300u, look));
    EXPECT_LT(look.alpha, 0.5f);
    marker.hit(0x00000030u);
    ASSERT_TRUE(marker.lookAt(0x00000030u, look));
    EXPECT_FLOAT_EQ(look.alpha, 1.0f);
    EXPECT_FALSE(marker.lookAt(0x00000030u - 1u, look));
}
