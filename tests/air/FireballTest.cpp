#include "Fireball.h"

#include <gtest/gtest.h>

TEST(Fireball, BloomsFastBurnsThenFadesWithinHalfASecond)
{
    Fireball::Look look{};
    ASSERT_TRUE(Fireball::lookAt(1000, 1000, look));
    EXPECT_FLOAT_EQ(look.size, 0.4f * Fireball::fullSize);
    EXPECT_FLOAT_EQ(look.alpha, 1.0f);

    // Three quarters of its growth in the first half of its life.
    ASSERT_TRUE(Fireball::lookAt(1000, 1250, look));
    EXPECT_FLOAT_EQ(look.size, (0.4f + 0.6f * 0.75f) * Fireball::fullSize);
    EXPECT_NEAR(look.alpha, 1.0f - 100.0f / 350.0f, 1e-6);

    ASSERT_TRUE(Fireball::lookAt(1000, 1149, look));
    EXPECT_FLOAT_EQ(look.alpha, 1.0f);
    ASSERT_TRUE(Fireball::lookAt(1000, 1499, look));
    EXPECT_LT(look.alpha, 0.01f);
    EXPECT_LT(look.size, Fireball::fullSize);
    EXPECT_GT(look.size, 0.99f * Fireball::fullSize);
    EXPECT_FALSE(Fireball::lookAt(1000, 1500, look));
}

TEST(Fireball, GrowsAndFadesSteadilyAcrossTheClocksWrap)
{
    const irr::u32 born = 0xFFFFFF00u;
    Fireball::Look previous{};
    ASSERT_TRUE(Fireball::lookAt(born, born, previous));
    for (irr::u32 age = 10; age < Fireball::lifetime; age += 10) {
        Fireball::Look look{};
        ASSERT_TRUE(Fireball::lookAt(born, born + age, look)) << age;
        EXPECT_GT(look.size, previous.size) << age;
        EXPECT_LE(look.alpha, previous.alpha) << age;
        previous = look;
    }
    // Born "later" than now, as when the clock is set back: not shown.
    Fireball::Look look{};
    EXPECT_FALSE(Fireball::lookAt(born, born - 1, look));
}
