#include "RaidPanel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace irr;

TEST(RaidPanel, HudLinesBannerFlashAndTheLostPanel)
{
    // The round's three lines with the raid's counts, the armour under them,
    // the multiplier only once it is above one.
    EXPECT_EQ(RaidPanel::hud(false, [] { return 64u; }, 3, 2150, 100, 1),
              core::stringw(L"RNDS REMAIN: 64\nAIRCFT REMAIN: 3\nPOINTS: 2150\nARMOUR: 100"));
    EXPECT_EQ(RaidPanel::hud(true, [] { return 0u; }, 0, 0, 7, 3),
              core::stringw(L"RNDS REMAIN: [RELOADING]\nAIRCFT REMAIN: 0\nPOINTS: 0\nARMOUR: 7\nx3"));
    EXPECT_EQ(RaidPanel::banner(12), core::stringw(L"WAVE 12"));

    EXPECT_EQ(RaidPanel::flash(0), 1.0f);
    EXPECT_NEAR(RaidPanel::flash(RaidPanel::flashTime / 2), 0.5f, 1e-6f);
    EXPECT_EQ(RaidPanel::flash(RaidPanel::flashTime), 0.0f);
    EXPECT_EQ(RaidPanel::flash(0xFFFFFFF0u), 0.0f);
    f32 right = 0.0f, up = 0.0f, most = 0.0f;
    for (u32 t = 0; t < RaidPanel::shakeTime; t += 5) {
        RaidPanel::shake(t, right, up);
        EXPECT_LE(std::fabs(right), 1.5f);
        most = std::max(most, std::fabs(right) + std::fabs(up));
    }
    EXPECT_GT(most, 1.0f);
    RaidPanel::shake(RaidPanel::shakeTime, right, up);
    EXPECT_EQ(right, 0.0f);
    EXPECT_EQ(up, 0.0f);

    const std::vector<core::stringw> lines = RaidPanel::lines(RaidSummary{4, {9, 1, 0}, 23456, 30, 11});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], core::stringw(L"GUN POSITION LOST"));
    EXPECT_EQ(lines[1], core::stringw(L"WAVES SURVIVED: 4"));
    EXPECT_EQ(lines[2], core::stringw(L"DOWNED: 9 FIGHTERS, 1 BOMBER, 0 ATTACKERS"));
    EXPECT_EQ(lines[3], core::stringw(L"POINTS: 23456"));
    EXPECT_EQ(lines[4], core::stringw(L"ACCURACY: 36% OF 30 BURSTS"));
    EXPECT_EQ(RaidPanel::lines(RaidSummary{0, {0, 0, 0}, 0, 0, 0})[4], core::stringw(L"ACCURACY: 0% OF 0 BURSTS"));
}
