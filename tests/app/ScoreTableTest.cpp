// The best rounds: ranking, the file's text, and what happens to files that
// are missing, damaged, huge, hostile or in a folder that cannot be written.

#include "ScoreTable.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Entry = ScoreTable::Entry;

namespace {

// A fresh folder for one test, removed with it.
struct Scratch {
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "torvel-scores-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        scores = (fs::path(folder) / "torvel" / "scores").string();
        fs::create_directories(fs::path(folder) / "torvel");
    }
    ~Scratch()
    {
        std::error_code ignored;
        fs::permissions(fs::path(folder) / "torvel", fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }
    void put(const std::string& text) const { std::ofstream(scores, std::ios::binary) << text; }

    std::string folder;
    std::string scores;
};

// The table loaded from path, with what it said on standard error.
std::string loadAndListen(ScoreTable& table)
{
    testing::internal::CaptureStderr();
    table.load();
    return testing::internal::GetCapturedStderr();
}

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Bytes read by this process so far, as the kernel counts its read calls.
long long bytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

} // namespace

TEST(ScoreRanking, PointsThenHitsThenTheEarlierRound)
{
    EXPECT_TRUE(ScoreTable::ranksAbove({5000, 1, 900}, {4999, 5, 100}));
    EXPECT_TRUE(ScoreTable::ranksAbove({5000, 3, 900}, {5000, 2, 100}));
    EXPECT_TRUE(ScoreTable::ranksAbove({5000, 3, 100}, {5000, 3, 900}));
    EXPECT_FALSE(ScoreTable::ranksAbove({5000, 3, 100}, {5000, 3, 100}));
}

TEST(ScoreRanking, EveryRoundEntersWhileFewerThanTenThenOnlyBetterOnes)
{
    std::vector<Entry> table;
    EXPECT_EQ(ScoreTable::enter(table, {0, 0, 10}), 0);
    EXPECT_EQ(ScoreTable::enter(table, {3000, 1, 11}), 0);
    // A round that only equals one already there goes below it.
    EXPECT_EQ(ScoreTable::enter(table, {0, 0, 12}), 2);
    for (int i = 0; i < 7; ++i)
        ScoreTable::enter(table, {static_cast<irr::u32>(1000 + i), 1, static_cast<irr::u64>(20 + i)});
    ASSERT_EQ(table.size(), 10u);
    EXPECT_EQ(table.back(), (Entry{0, 0, 12}));

    // Full: a round no better than the tenth stays out, and the table with it.
    const std::vector<Entry> full = table;
    EXPECT_EQ(ScoreTable::enter(table, {0, 0, 13}), ScoreTable::notEntered);
    EXPECT_EQ(table, full);
    // A better one takes its place and the tenth goes.
    EXPECT_EQ(ScoreTable::enter(table, {0, 1, 14}), 8);
    EXPECT_EQ(table.size(), 10u);
    EXPECT_EQ(table[8], (Entry{0, 1, 14}));
    EXPECT_EQ(table[9], (Entry{0, 0, 10}));
    EXPECT_EQ(ScoreTable::enter(table, {9000, 5, 15}), 0);
    EXPECT_EQ(table.size(), 10u);
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_FALSE(ScoreTable::ranksAbove(table[i], table[i - 1])) << i;
}

TEST(ScoreFileText, IsTheFormatLineOneRoundALineAndEnd)
{
    EXPECT_EQ(ScoreTable::format({}), "torvel-scores 1\nend\n");
    EXPECT_EQ(ScoreTable::format({{7412, 3, 1718000000}, {0, 0, 0}}),
              "torvel-scores 1\n7412 3 1718000000\n0 0 0\nend\n");

    // The largest values go through whole.
    std::vector<Entry> table(10, Entry{4294967295u, 5, ScoreTable::maxDate});
    table[9] = {0, 0, 0};
    std::vector<Entry> back;
    std::string fault;
    ASSERT_TRUE(ScoreTable::parse(ScoreTable::format(table), back, fault)) << fault;
    EXPECT_EQ(back, table);
    ASSERT_TRUE(ScoreTable::parse("torvel-scores 1\nend\n", back, fault));
    EXPECT_TRUE(back.empty());
}

TEST(ScoreFileText, RoundsOutOfOrderAreSortedAndTwinsKept)
{
    std::vector<Entry> table;
    std::string fault;
    ASSERT_TRUE(ScoreTable::parse("torvel-scores 1\n10 1 5\n2500 2 7\n10 1 5\n2500 2 3\nend\n", table, fault));
    EXPECT_EQ(table, (std::vector<Entry>{{2500, 2, 3}, {2500, 2, 7}, {10, 1, 5}, {10, 1, 5}}));
}

TEST(ScoreFileText, AnythingButAWholeWellFormedTableIsRefused)
{
    const std::string head = "torvel-scores 1\n";
    std::string eleven = head;
    for (int i = 0; i < 11; ++i)
        eleven += "100 1 " + std::to_string(i) + "\n";
    eleven += "end\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"cut inside the format line", "torvel-sc"},
        {"cut inside a round", head + "7412 3 17180"},
        {"cut at a line's end", head + "7412 3 1718000000\n"},
        {"cut inside the end", head + "end"},
        {"no format line", "7412 3 1718000000\nend\n"},
        {"a later format", "torvel-scores 2\nend\n"},
        {"another file", "<html>\n"},
        {"negative points", head + "-5 1 100\nend\n"},
        {"points past 32 bits", head + "4294967296 1 100\nend\n"},
        {"twenty-digit points", head + "18446744073709551617 1 100\nend\n"},
        {"six hits", head + "100 6 100\nend\n"},
        {"date past the year 9999", head + "100 1 253402300800\nend\n"},
        {"two numbers", head + "100 1\nend\n"},
        {"four numbers", head + "100 1 2 3\nend\n"},
        {"two blanks", head + "100  1 2\nend\n"},
        {"a blank at the end", head + "100 1 2 \nend\n"},
        {"a blank line", head + "\nend\n"},
        {"a carriage return", "torvel-scores 1\r\nend\r\n"},
        {"a NUL byte", head + "100 1" + std::string(1, '\0') + "2\nend\n"},
        {"a 10,000-character line", head + std::string(10000, '7') + " 1 2\nend\n"},
        {"eleven rounds", eleven},
        {"more after the end", head + "end\n100 1 2\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    for (const auto& c : cases) {
        std::vector<Entry> table{{1, 1, 1}};
        std::string fault;
        EXPECT_FALSE(ScoreTable::parse(c.text, table, fault)) << c.what;
        EXPECT_TRUE(table.empty()) << c.what;
        EXPECT_FALSE(fault.empty()) << c.what;
    }
}

TEST(ScoreFilePath, DataHomeWhenAbsoluteElseTheHomeFolder)
{
    EXPECT_EQ(ScoreTable::pathFor("/data", "/home/p"), "/data/torvel/scores");
    EXPECT_EQ(ScoreTable::pathFor(nullptr, "/home/p"), "/home/p/.local/share/torvel/scores");
    EXPECT_EQ(ScoreTable::pathFor("", "/home/p"), "/home/p/.local/share/torvel/scores");
    EXPECT_EQ(ScoreTable::pathFor("data", "/home/p"), "/home/p/.local/share/torvel/scores");
    EXPECT_EQ(ScoreTable::pathFor(nullptr, nullptr), "");
    EXPECT_EQ(ScoreTable::pathFor("", ""), "");
}

TEST(ScoreFile, MissingIsAnEmptyTableAndOnlyARoundsEndWrites)
{
    Scratch scratch;
    const std::string path = scratch.folder + "/new/deeper/torvel/scores";
    ScoreTable table(path);
    EXPECT_EQ(loadAndListen(table), "");
    EXPECT_TRUE(table.getEntries().empty());
    EXPECT_FALSE(fs::exists(fs::path(path).parent_path()));

    // The missing folders are made at the first round's end.
    testing::internal::CaptureStderr();
    EXPECT_EQ(table.record({0, 0, 1718000000}), 0);
    EXPECT_EQ(table.record({2500, 1, 1718000100}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(TestFiles::readFile(path), "torvel-scores 1\n2500 1 1718000100\n0 0 1718000000\nend\n");
    // Nothing but the file is left in its folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()), 1);

    ScoreTable again(path);
    EXPECT_EQ(loadAndListen(again), "");
    EXPECT_EQ(again.getEntries(), table.getEntries());
}

TEST(ScoreFile, TwoGamesEndingRoundsKeepBothRounds)
{
    Scratch scratch;
    ScoreTable first(scratch.scores);
    ScoreTable second(scratch.scores);
    first.load();
    second.load();
    EXPECT_EQ(first.record({1200, 1, 10}), 0);
    EXPECT_EQ(second.record({3400, 2, 20}), 0);
    EXPECT_EQ(second.getEntries(), (std::vector<Entry>{{3400, 2, 20}, {1200, 1, 10}}));
}

TEST(ScoreFile, ADamagedFileIsNamedSetAsideAndTheTableStartsEmpty)
{
    const std::string cut = std::string("torvel-scores 1\n9000 4 1718000000\n5000 2 17");
    std::string random(3000, '\0');
    unsigned state = 1208;
    for (char& c : random)
        c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    for (const std::string& bad : {cut, random, std::string("torvel-scores 1\n-1 0 0\nend\n")}) {
        Scratch scratch;
        scratch.put(bad);
        ScoreTable table(scratch.scores);
        const std::string said = loadAndListen(table);
        EXPECT_EQ(lineCount(said), 1u) << said;
        EXPECT_NE(said.find(scratch.scores), std::string::npos) << said;
        EXPECT_NE(said.find(scratch.scores + ".bad"), std::string::npos) << said;
        EXPECT_TRUE(table.getEntries().empty());
        EXPECT_FALSE(fs::exists(scratch.scores));
        EXPECT_EQ(TestFiles::readFile(scratch.scores + ".bad"), bad);

        // Play goes on and the next round's end writes a good table.
        EXPECT_EQ(table.record({100, 1, 5}), 0);
        EXPECT_EQ(TestFiles::readFile(scratch.scores), "torvel-scores 1\n100 1 5\nend\n");
    }
}

TEST(ScoreFile, AnEarlierBadFileIsKeptBesideTheNewOne)
{
    Scratch scratch;
    std::ofstream(scratch.scores + ".bad") << "older";
    std::ofstream(scratch.scores + ".bad.1") << "old";
    scratch.put("newer damage\n");
    ScoreTable table(scratch.scores);
    const std::string said = loadAndListen(table);
    EXPECT_NE(said.find(scratch.scores + ".bad.2"), std::string::npos) << said;
    EXPECT_EQ(TestFiles::readFile(scratch.scores + ".bad"), "older");
    EXPECT_EQ(TestFiles::readFile(scratch.scores + ".bad.1"), "old");
    EXPECT_EQ(TestFiles::readFile(scratch.scores + ".bad.2"), "newer damage\n");
}

TEST(ScoreFile, ABadFileThatCannotBeMovedAsideIsNeverWrittenOver)
{
    Scratch scratch;
    std::ofstream(scratch.scores + ".bad") << "x";
    for (int n = 1; n <= 1000; ++n)
        std::ofstream(scratch.scores + ".bad." + std::to_string(n)) << "x";
    scratch.put("damaged\n");
    ScoreTable table(scratch.scores);
    const std::string said = loadAndListen(table);
    EXPECT_EQ(lineCount(said), 1u) << said;
    EXPECT_NE(said.find("left as it is"), std::string::npos) << said;

    testing::internal::CaptureStderr();
    EXPECT_EQ(table.record({100, 1, 5}), 0);
    const std::string atEnd = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lineCount(atEnd), 2u) << atEnd;
    EXPECT_EQ(TestFiles::readFile(scratch.scores), "damaged\n");
    EXPECT_FALSE(fs::exists(scratch.scores + ".bad.1001"));
}

TEST(ScoreFile, AHugeFileIsRefusedWithoutReadingIt)
{
    Scratch scratch;
    // 100 MB that looks like a table at its start: sparse, the rest zeros.
    scratch.put("torvel-scores 1\n9000 4 1718000000\n");
    fs::resize_file(scratch.scores, 100u * 1024 * 1024);
    ScoreTable table(scratch.scores);
    const long long before = bytesReadSoFar();
    const std::string said = loadAndListen(table);
    const long long read = bytesReadSoFar() - before;
    ASSERT_GE(before, 0);
    EXPECT_LT(read, 64 * 1024) << "bytes read";
    EXPECT_NE(said.find("too large"), std::string::npos) << said;
    EXPECT_TRUE(table.getEntries().empty());
    EXPECT_EQ(fs::file_size(scratch.scores + ".bad"), 100u * 1024 * 1024);
}

TEST(ScoreFile, APipeInItsPlaceNeitherHangsTheGameNorFillsItsMemory)
{
    // Reading a pipe would wait for a writer, or read for as long as one writes.
    Scratch scratch;
    ASSERT_EQ(::mkfifo(scratch.scores.c_str(), 0600), 0);
    ScoreTable table(scratch.scores);
    const std::string said = loadAndListen(table);
    EXPECT_NE(said.find("not a plain file"), std::string::npos) << said;
    EXPECT_TRUE(table.getEntries().empty());
}

TEST(ScoreFile, AnUnreadableFileIsSetAside)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    Scratch scratch;
    scratch.put("torvel-scores 1\nend\n");
    fs::permissions(scratch.scores, fs::perms::none);
    ScoreTable table(scratch.scores);
    const std::string said = loadAndListen(table);
    EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(scratch.scores + ".bad"));
}

TEST(ScoreFile, AFolderThatCannotBeWrittenCostsOneLineAndPlayGoesOn)
{
    Scratch scratch;
    // A plain file where the data folder should be: no one can make it.
    std::ofstream(scratch.folder + "/data") << "x";
    ScoreTable table(scratch.folder + "/data/torvel/scores");
    EXPECT_EQ(loadAndListen(table), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(table.record({700, 1, 5}), 0);
    EXPECT_EQ(table.record({900, 2, 6}), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lineCount(said), 2u) << said;
    EXPECT_NE(said.find("play goes on"), std::string::npos) << said;
    // The game still shows the rounds of this session.
    EXPECT_EQ(table.getEntries(), (std::vector<Entry>{{900, 2, 6}, {700, 1, 5}}));
}

TEST(ScoreFile, TemporariesOfKilledWritersAreRemovedAtStart)
{
    Scratch scratch;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string folder = fs::path(scratch.scores).parent_path().string();
    const std::string dead = folder + "/scores.tmp." + std::to_string(child);
    const std::string living = folder + "/scores.tmp." + std::to_string(::getppid());
    const std::string other = folder + "/scores.tmp.notes";
    for (const std::string& name : {dead, living, other})
        std::ofstream(name) << "torvel-scores 1\n";
    ScoreTable table(scratch.scores);
    EXPECT_EQ(loadAndListen(table), "");
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(living));
    EXPECT_TRUE(fs::exists(other));
}
