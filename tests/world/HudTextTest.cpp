#include "HudText.h"

#include <gtest/gtest.h>

using irr::core::stringw;
using irr::u32;

namespace {

// Counts how often the HUD asks for the rounds.
struct RoundsProbe {
    u32 rounds;
    int asked = 0;
    std::function<u32()> callback() { return [this] { ++asked; return rounds; }; }
};

std::wstring wide(const stringw& text) { return std::wstring(text.c_str()); }

} // namespace

TEST(HudText, FreshGameReadsEightyRoundsNoJetsNoPoints)
{
    RoundsProbe probe{80};
    EXPECT_EQ(wide(HudText::compose(false, probe.callback(), 0, 0)),
              L"RNDS REMAIN: 80\nAIRCFT REMAIN: 0\nPOINTS: 0");
    EXPECT_EQ(probe.asked, 1);
}

TEST(HudText, EachValueLandsOnItsOwnLine)
{
    RoundsProbe probe{64};
    EXPECT_EQ(wide(HudText::compose(false, probe.callback(), 3, 12045)),
              L"RNDS REMAIN: 64\nAIRCFT REMAIN: 3\nPOINTS: 12045");
}

TEST(HudText, ReloadingShowsTheNoticeWithoutAskingForTheRounds)
{
    RoundsProbe probe{80};
    EXPECT_EQ(wide(HudText::compose(true, probe.callback(), 5, 1734)),
              L"RNDS REMAIN: [RELOADING]\nAIRCFT REMAIN: 5\nPOINTS: 1734");
    EXPECT_EQ(probe.asked, 0);
}

TEST(HudText, LargestValuesAreWrittenInFullWithoutSignOrSeparators)
{
    RoundsProbe probe{4294967295u};
    EXPECT_EQ(wide(HudText::compose(false, probe.callback(), 4294967295u, 4294967295u)),
              L"RNDS REMAIN: 4294967295\nAIRCFT REMAIN: 4294967295\nPOINTS: 4294967295");
}

TEST(HudText, ZeroRoundsIsTheDigitZero)
{
    RoundsProbe probe{0};
    EXPECT_EQ(wide(HudText::compose(false, probe.callback(), 1, 0)),
              L"RNDS REMAIN: 0\nAIRCFT REMAIN: 1\nPOINTS: 0");
}

TEST(HudText, ReloadingCountsDownItsSecondsBesideTheNotice)
{
    RoundsProbe probe{80};
    EXPECT_EQ(wide(HudText::compose(true, 14, probe.callback(), 5, 0)),
              L"RNDS REMAIN: [RELOADING] 14 s\nAIRCFT REMAIN: 5\nPOINTS: 0");
    EXPECT_EQ(wide(HudText::compose(true, 0, probe.callback(), 5, 0)),
              L"RNDS REMAIN: [RELOADING]\nAIRCFT REMAIN: 5\nPOINTS: 0");
    EXPECT_EQ(wide(HudText::compose(false, 14, probe.callback(), 5, 0)),
              L"RNDS REMAIN: 80\nAIRCFT REMAIN: 5\nPOINTS: 0");
    EXPECT_EQ(probe.asked, 1);
}
