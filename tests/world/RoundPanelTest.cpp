#include "RoundPanel.h"
#include "RoundScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using irr::core::stringw;

namespace {

std::wstring wide(const stringw& text) { return std::wstring(text.c_str()); }

// Dates read in a fixed zone for the length of a test.
struct ZoneForTest {
    explicit ZoneForTest(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            saved = old, hadZone = true;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneForTest()
    {
        if (hadZone)
            ::setenv("TZ", saved.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    std::string saved;
    bool hadZone = false;
};

} // namespace

TEST(RoundPanel, HeadingGivesTheHitsOutOfTheJetsThePointsAndTheAccuracy)
{
    const std::vector<stringw> lines = RoundPanel::heading({3, 5, 7412, 5});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(wide(lines[0]), L"ROUND OVER");
    EXPECT_EQ(wide(lines[1]), L"JETS HIT: 3 OF 5");
    EXPECT_EQ(wide(lines[2]), L"POINTS: 7412");
    EXPECT_EQ(wide(lines[3]), L"ACCURACY: 0.60 HITS PER BURST");
    EXPECT_EQ(wide(RoundPanel::heading({0, 5, 4294967295u, 0})[2]), L"POINTS: 4294967295");
}

TEST(RoundPanel, AccuracyIsHitsPerBurstRoundedAndSaysWhenNoBurstWasFired)
{
    EXPECT_EQ(wide(RoundPanel::accuracy(0, 0)), L"ACCURACY: NO BURSTS FIRED");
    EXPECT_EQ(wide(RoundPanel::accuracy(0, 5)), L"ACCURACY: 0.00 HITS PER BURST");
    EXPECT_EQ(wide(RoundPanel::accuracy(1, 1)), L"ACCURACY: 1.00 HIT PER BURST");
    EXPECT_EQ(wide(RoundPanel::accuracy(1, 3)), L"ACCURACY: 0.33 HITS PER BURST");
    EXPECT_EQ(wide(RoundPanel::accuracy(2, 3)), L"ACCURACY: 0.67 HITS PER BURST");
    EXPECT_EQ(wide(RoundPanel::accuracy(1, 16)), L"ACCURACY: 0.06 HITS PER BURST");
    EXPECT_EQ(wide(RoundPanel::accuracy(1, 200)), L"ACCURACY: 0.01 HITS PER BURST");  // 0.005 rounds up
    // One burst through two jets in line.
    EXPECT_EQ(wide(RoundPanel::accuracy(2, 1)), L"ACCURACY: 2.00 HITS PER BURST");
    // No overflow for the largest counts.
    EXPECT_EQ(wide(RoundPanel::accuracy(4294967295u, 4294967295u)), L"ACCURACY: 1.00 HIT PER BURST");
}

TEST(RoundPanel, RowsNumberTheTableAndMarkOnlyThisRound)
{
    ZoneForTest zone("UTC");
    const std::vector<ScoreTable::Entry> table{{9120, 4, 1718000000}, {7412, 3, 1718029920}, {0, 0, 0}};
    const std::vector<RoundPanel::Row> rows = RoundPanel::rows(table, 1, 5);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(wide(rows[0].place), L"1.");
    EXPECT_EQ(wide(rows[0].points), L"9120");
    EXPECT_EQ(wide(rows[0].hits), L"4/5");
    EXPECT_EQ(wide(rows[0].date), L"2024-06-10 06:13");
    EXPECT_EQ(wide(rows[1].date), L"2024-06-10 14:32");
    EXPECT_EQ(wide(rows[2].place), L"3.");
    EXPECT_EQ(wide(rows[2].points), L"0");
    EXPECT_EQ(wide(rows[2].hits), L"0/5");
    EXPECT_EQ(wide(rows[2].date), L"1970-01-01 00:00");
    EXPECT_FALSE(rows[0].marked);
    EXPECT_TRUE(rows[1].marked);
    EXPECT_FALSE(rows[2].marked);
    EXPECT_EQ(wide(RoundPanel::footer(1)), L"");

    for (const RoundPanel::Row& row : RoundPanel::rows(table, ScoreTable::notEntered, 5))
        EXPECT_FALSE(row.marked);
    EXPECT_EQ(wide(RoundPanel::footer(ScoreTable::notEntered)), L"NOT AMONG THE BEST ROUNDS");
    EXPECT_EQ(wide(RoundPanel::rows(std::vector<ScoreTable::Entry>(10, {1, 1, 1}), 9, 5)[9].place), L"10.");
}

TEST(RoundPanel, DatesAreInThePlayersOwnTime)
{
    ZoneForTest zone("CET-1");
    EXPECT_EQ(wide(RoundPanel::dateText(1718029920)), L"2024-06-10 15:32");
    EXPECT_EQ(wide(RoundPanel::dateText(ScoreTable::maxDate)), L"10000-01-01 00:59");
}

TEST(RoundScreen, InvitesARoundWheneverNoneRunsAndNoPanelShows)
{
    RoundScreen screen;
    EXPECT_TRUE(screen.showsStartHint(0));
    EXPECT_FALSE(screen.showsPanel(0));
    screen.roundStarted();
    EXPECT_FALSE(screen.showsStartHint(0));
    EXPECT_FALSE(screen.showsStartHint(500000)) << "however long the round runs";
    screen.roundEnded({1, 5, 1500, 2}, 0, 1000);
    EXPECT_FALSE(screen.showsStartHint(1000)) << "the panel stands there";
    EXPECT_FALSE(screen.showsStartHint(10999));
    EXPECT_TRUE(screen.showsStartHint(11000)) << "the panel is gone";
    screen.roundStarted();
    screen.roundAbandoned();
    EXPECT_TRUE(screen.showsStartHint(11000));
}

TEST(RoundScreen, PanelShowsForTenSecondsOfGameTime)
{
    RoundScreen screen;
    screen.roundStarted();
    screen.roundEnded({3, 5, 7412, 5}, 1, 50000);
    EXPECT_TRUE(screen.showsPanel(50000));
    EXPECT_TRUE(screen.showsPanel(59999));
    EXPECT_FALSE(screen.showsPanel(60000));
    EXPECT_EQ(screen.getSummary().points, 7412u);
    EXPECT_EQ(screen.getPlace(), 1);

    // Across the wrap of the clock.
    screen.roundEnded({0, 5, 0, 0}, ScoreTable::notEntered, 0xFFFFF000u);
    EXPECT_TRUE(screen.showsPanel(0x00001000u));
    EXPECT_FALSE(screen.showsPanel(0xFFFFF000u + 10000u));
    EXPECT_EQ(screen.getPlace(), ScoreTable::notEntered);
}

TEST(RoundScreen, TheNextRoundOrAnAbandonedOneClosesThePanel)
{
    RoundScreen screen;
    screen.roundStarted();
    screen.roundEnded({3, 5, 7412, 5}, 1, 1000);
    screen.roundStarted();
    EXPECT_FALSE(screen.showsPanel(2000));

    screen.roundEnded({3, 5, 7412, 5}, 1, 3000);
    screen.roundAbandoned();
    EXPECT_FALSE(screen.showsPanel(3001));
}
