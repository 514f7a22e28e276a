#include "GunCues.h"

#include "FireControl.h"

#include <gtest/gtest.h>

using irr::u32;

// Which of the magazine's sounds each change of the fire control calls for.
TEST(GunCues, EachChangeOfTheMagazineHasItsSound)
{
    using S = GunCues::State;
    const S full{false, 5, 0};
    EXPECT_EQ(GunCues::cuesBetween(full, full), 0u);
    EXPECT_EQ(GunCues::cuesBetween(full, S{false, 4, 0}), 0u) << "a burst";
    EXPECT_EQ(GunCues::cuesBetween(full, S{true, 5, 0}), u32(GunCues::MagazineOut));
    EXPECT_EQ(GunCues::cuesBetween(S{true, 5, 0}, S{true, 5, 0}), 0u) << "a reload under way";
    EXPECT_EQ(GunCues::cuesBetween(S{true, 2, 0}, S{false, 5, 0}), u32(GunCues::MagazineIn));
    EXPECT_EQ(GunCues::cuesBetween(S{true, 5, 0}, S{false, 5, 0}), u32(GunCues::MagazineIn))
        << "a reload of a full magazine still ends with one going in";
    EXPECT_EQ(GunCues::cuesBetween(S{false, 1, 0}, S{false, 5, 0}), u32(GunCues::MagazineIn)) << "a fresh magazine";
    EXPECT_EQ(GunCues::cuesBetween(S{false, 0, 3}, S{true, 0, 4}), u32(GunCues::MagazineOut | GunCues::DryClick));
}

// The prompt follows a dry trigger and goes with the reload it asks for, or
// with a fresh magazine.
TEST(GunCues, TheReloadPromptComesWithTheClickAndGoesWithTheReload)
{
    GunCues cues(nullptr);
    FireControl fire;
    for (int burst = 0; burst < 5; ++burst) {
        fire.onButtons(true, false, 0);
        while (fire.fireRound()) {
        }
        fire.onButtons(false, false, 0);
        cues.watch(fire);
    }
    EXPECT_FALSE(cues.promptsReload()) << "emptied, but nothing asked of it yet";
    fire.onButtons(true, false, 0);
    cues.watch(fire);
    EXPECT_TRUE(cues.promptsReload());
    fire.onButtons(false, true, 100);
    cues.watch(fire);
    EXPECT_FALSE(cues.promptsReload());

    fire.checkReload(15200);
    for (int burst = 0; burst < 5; ++burst) {
        fire.onButtons(true, false, 0);
        while (fire.fireRound()) {
        }
        fire.onButtons(false, false, 0);
    }
    fire.onButtons(true, false, 0);
    cues.watch(fire);
    EXPECT_TRUE(cues.promptsReload());
    fire.freshMagazine();
    cues.watch(fire);
    EXPECT_FALSE(cues.promptsReload());
}
