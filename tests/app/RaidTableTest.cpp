#include "RaidTable.h"

#include <TestFiles.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(RaidTable, RanksKeepsTheRaidNumberAndReadsOnlyItsOwnFormat)
{
    std::vector<RaidTable::Entry> table;
    for (irr::u32 i = 0; i < 12; ++i)
        RaidTable::enter(table, {1000 * (i % 6), i, 4000000000u + i, 100 + i});
    ASSERT_EQ(table.size(), RaidTable::capacity);
    EXPECT_EQ(table[0], (RaidTable::Entry{5000, 11, 4000000011u, 111}));   // more waves above on equal points
    EXPECT_EQ(RaidTable::enter(table, {0, 0, 1, 1}), RaidTable::notEntered);
    EXPECT_EQ(RaidTable::enter(table, {9999, 1, 77, 5}), 0);

    std::vector<RaidTable::Entry> back;
    std::string fault;
    ASSERT_TRUE(RaidTable::parse(RaidTable::format(table), back, fault)) << fault;
    EXPECT_EQ(back, table);
    EXPECT_EQ(RaidTable::format({{48210, 6, 3141592653u, 1718000000}}),
              "torvel-raids 1\n48210 6 3141592653 1718000000\nend\n");
    for (const char* bad : {"", "torvel-raids 1\n", "torvel-raids 1\n1 2 3 4\n", "torvel-raids 2\nend\n",
                            "torvel-scores 1\nend\n", "torvel-raids 1\n1 2 3\nend\n", "torvel-raids 1\n1 2 3 4 5\nend\n",
                            "torvel-raids 1\n1  2 3 4\nend\n", "torvel-raids 1\n1 2 4294967296 4\nend\n",
                            "torvel-raids 1\n-1 2 3 4\nend\n", "torvel-raids 1\nend\nend\n"})
        EXPECT_FALSE(RaidTable::parse(bad, back, fault)) << bad;
}

TEST(RaidTable, ADamagedFileIsSetAsideNamedAndTheNextRaidWritten)
{
    char folder[] = "/tmp/torvel-raids-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/raids";
    {
        std::ofstream(path) << "torvel-raids 1\n900 2 5 6\n";   // cut short
    }
    RaidTable table(path);
    testing::internal::CaptureStderr();
    table.load();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(path + ".bad"), std::string::npos) << said;
    EXPECT_TRUE(table.getEntries().empty());
    EXPECT_EQ(TestFiles::readFile(path + ".bad"), "torvel-raids 1\n900 2 5 6\n");

    EXPECT_EQ(table.record({1500, 3, 42, 7}), 0);
    EXPECT_EQ(TestFiles::readFile(path), "torvel-raids 1\n1500 3 42 7\nend\n");
    RaidTable again(path);
    again.load();
    ASSERT_EQ(again.getEntries().size(), 1u);
    EXPECT_EQ(again.getEntries()[0].number, 42u);
    fs::remove_all(folder);
}
