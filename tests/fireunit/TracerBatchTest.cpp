#include "FireControl.h"
#include "TracerBatch.h"

#include <gtest/gtest.h>

using irr::core::vector3df;

namespace {

void expectNear(const vector3df& a, const vector3df& b)
{
    EXPECT_NEAR(a.X, b.X, 1e-3);
    EXPECT_NEAR(a.Y, b.Y, 1e-3);
    EXPECT_NEAR(a.Z, b.Z, 1e-3);
}

} // namespace

TEST(TracerBatch, EachGunFiresEightRoundsTheFlashesOwn)
{
    int right = 0;
    for (irr::u32 rounds = 16; rounds >= 1; --rounds) {
        const TracerBatch::Gun gun = TracerBatch::gunOfRound(rounds);
        right += gun == TracerBatch::Gun::Right;
        // A round with a flash comes from the gun whose flash shows.
        if (FireControl::rightFlashOn(rounds)) {
            EXPECT_EQ(gun, TracerBatch::Gun::Right) << rounds;
        }
        if (FireControl::leftFlashOn(rounds)) {
            EXPECT_EQ(gun, TracerBatch::Gun::Left) << rounds;
        }
    }
    EXPECT_EQ(right, 8);
    EXPECT_EQ(TracerBatch::gunOfRound(15), TracerBatch::Gun::Right);
    EXPECT_EQ(TracerBatch::gunOfRound(1), TracerBatch::Gun::Left);
    EXPECT_GT(TracerBatch::muzzleOffset(TracerBatch::Gun::Right).X, 0.0f);
    EXPECT_LT(TracerBatch::muzzleOffset(TracerBatch::Gun::Left).X, 0.0f);
}

TEST(TracerBatch, StreakRunsOutAlongTheSightFadesAndIsGoneAfterThreeTenths)
{
    const vector3df muzzle(0.14f, 1.5f, 1.89f);
    const vector3df along(0.0f, 0.6f, 0.8f);
    TracerBatch::Streak streak{};
    ASSERT_TRUE(TracerBatch::streakAt(muzzle, along, 5000, 5000, streak));
    expectNear(streak.tail, muzzle);
    expectNear(streak.head, muzzle + along * TracerBatch::headStart);
    EXPECT_FLOAT_EQ(streak.alpha, 1.0f);

    // 100 ms out: 150 units flown, a streak of its full length behind it.
    ASSERT_TRUE(TracerBatch::streakAt(muzzle, along, 5000, 5100, streak));
    expectNear(streak.head, muzzle + along * 154.0f);
    expectNear(streak.tail, muzzle + along * 94.0f);
    EXPECT_NEAR(streak.alpha, 2.0f / 3.0f, 1e-6);

    ASSERT_TRUE(TracerBatch::streakAt(muzzle, along, 5000, 5299, streak));
    EXPECT_LT(streak.alpha, 0.01f);
    // Well inside the sight's range of 4000.
    EXPECT_LT(streak.head.getDistanceFrom(muzzle), 500.0f);
    EXPECT_FALSE(TracerBatch::streakAt(muzzle, along, 5000, 5300, streak));
    // Across the wrap, and from a clock set back.
    EXPECT_TRUE(TracerBatch::streakAt(muzzle, along, 0xFFFFFFF0u, 0x10u, streak));
    EXPECT_FALSE(TracerBatch::streakAt(muzzle, along, 5000, 4999, streak));
}

TEST(TracerBatch, KeepsTheLatestRoundsOldestFirstWithoutGrowing)
{
    TracerBatch batch;
    TracerBatch::Streak streaks[TracerBatch::capacity];
    EXPECT_EQ(batch.collect(0, streaks), 0u);

    // A burst, one round every 1/60 s: all sixteen alive as the last leaves.
    const vector3df up(0.0f, 1.0f, 0.0f);
    for (irr::u32 i = 0; i < 16; ++i)
        batch.fire(vector3df(static_cast<irr::f32>(i), 0, 0), up, i * 1000 / 60);
    ASSERT_EQ(batch.collect(250, streaks), 16u);
    EXPECT_FLOAT_EQ(streaks[0].tail.X, 0.0f);
    EXPECT_FLOAT_EQ(streaks[15].tail.X, 15.0f);
    EXPECT_LT(streaks[0].alpha, streaks[15].alpha);
    // The early rounds die first.
    EXPECT_EQ(batch.collect(300, streaks), 15u);
    EXPECT_EQ(batch.collect(550, streaks), 0u);

    // More rounds than the ring holds at one moment: the latest are kept.
    for (irr::u32 i = 0; i < 40; ++i)
        batch.fire(vector3df(static_cast<irr::f32>(i), 0, 0), up, 1000);
    ASSERT_EQ(batch.collect(1000, streaks), TracerBatch::capacity);
    EXPECT_FLOAT_EQ(streaks[0].tail.X, 8.0f);
    EXPECT_FLOAT_EQ(streaks[TracerBatch::capacity - 1].tail.X, 39.0f);

    batch.clear();
    EXPECT_EQ(batch.collect(1000, streaks), 0u);
}
