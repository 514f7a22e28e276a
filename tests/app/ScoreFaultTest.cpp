// The best rounds when the disk fails under the game: full during a write,
// the data folder made read-only or removed during play. Each time the old
// table must stay whole byte for byte, one line must say why, the round must
// stay in the game's table, and once the disk can be written again the
// rounds kept out of the file meanwhile must reach it.

#include "ScoreTable.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Entry = ScoreTable::Entry;

namespace {

// A data folder on a small file system of its own (root only), or on the
// temporary folder's.
struct DataDisk {
    explicit DataDisk(bool ownFileSystem)
    {
        std::string pattern = (fs::temp_directory_path() / "torvel-faults-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        if (ownFileSystem) {
            mounted = ::mount("tmpfs", root.c_str(), "tmpfs", 0, "size=64k") == 0;
            error = mounted ? "" : std::strerror(errno);
        }
        folder = root + "/torvel";
        scores = folder + "/scores";
    }
    ~DataDisk()
    {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, ignored);
        if (mounted)
            ::umount2(root.c_str(), MNT_DETACH);
        fs::remove_all(root, ignored);
    }
    // Takes every free block with one file; false when it filled nothing.
    bool fill() const
    {
        const int fd = ::open((root + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const std::string block(4096, 'x');
        std::size_t written = 0;
        for (ssize_t n; (n = ::write(fd, block.data(), block.size())) > 0;)
            written += static_cast<std::size_t>(n);
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full && written > 0;
    }
    bool setReadOnly(bool readOnly) const
    {
        if (mounted)
            return ::mount(nullptr, root.c_str(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0), "size=64k") == 0;
        std::error_code failed;
        fs::permissions(folder, readOnly ? fs::perms::owner_read | fs::perms::owner_exec : fs::perms::owner_all,
                        failed);
        return !failed;
    }
    bool temporaryLeft() const
    {
        for (const auto& item : fs::directory_iterator(folder))
            if (item.path().filename().string().rfind("scores.tmp.", 0) == 0)
                return true;
        return false;
    }

    std::string root;
    std::string folder;
    std::string scores;
    bool mounted = false;
    std::string error;  // why the small file system could not be made
};

bool isRoot()
{
    return ::geteuid() == 0;
}

// A game that has played two rounds: the table in the file.
void playTwoRounds(ScoreTable& game)
{
    game.load();
    game.record({3000, 2, 1718000000});
    game.record({1200, 1, 1718000100});
}

// What record said on standard error, with its place.
std::string recordAndListen(ScoreTable& game, const Entry& round, int& place)
{
    testing::internal::CaptureStderr();
    place = game.record(round);
    return testing::internal::GetCapturedStderr();
}

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(ScoreFaults, ADiskFullDuringTheWriteKeepsTheOldTableAndTheRound)
{
    if (!isRoot())
        GTEST_SKIP() << "a full disk needs a small file system of its own, which only root may mount";
    DataDisk disk(true);
    ASSERT_TRUE(disk.mounted) << "cannot mount a 64 KiB tmpfs on " << disk.root << ": " << disk.error;
    ScoreTable game(disk.scores);
    playTwoRounds(game);
    const std::string before = TestFiles::readFile(disk.scores);
    ASSERT_EQ(before, "torvel-scores 1\n3000 2 1718000000\n1200 1 1718000100\nend\n");
    ASSERT_TRUE(disk.fill());

    int place = 0;
    const std::string said = recordAndListen(game, {9000, 5, 1718000200}, place);
    EXPECT_EQ(place, 0);
    EXPECT_EQ(lineCount(said), 1u) << said;
    EXPECT_NE(said.find("No space left on device; play goes on"), std::string::npos) << said;
    EXPECT_EQ(TestFiles::readFile(disk.scores), before);
    EXPECT_FALSE(disk.temporaryLeft());
    EXPECT_EQ(game.getEntries().front(), (Entry{9000, 5, 1718000200}));
    // Another game started now reads the old table, whole and without a word.
    ScoreTable other(disk.scores);
    testing::internal::CaptureStderr();
    other.load();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(other.getEntries().size(), 2u);

    // Room again: the next round's write takes the one kept out along.
    fs::remove(disk.root + "/filler");
    EXPECT_EQ(recordAndListen(game, {500, 0, 1718000300}, place), "");
    EXPECT_EQ(TestFiles::readFile(disk.scores),
              "torvel-scores 1\n9000 5 1718000200\n3000 2 1718000000\n1200 1 1718000100\n500 0 1718000300\nend\n");
}

TEST(ScoreFaults, AFolderMadeReadOnlyDuringPlayKeepsTheTableAndTheRounds)
{
    // Root writes through permissions, so for root the folder's file system is made read-only.
    DataDisk disk(isRoot());
    ASSERT_TRUE(!isRoot() || disk.mounted) << "cannot mount a tmpfs on " << disk.root << ": " << disk.error;
    ScoreTable game(disk.scores);
    playTwoRounds(game);
    const std::string before = TestFiles::readFile(disk.scores);
    ASSERT_TRUE(disk.setReadOnly(true));

    int place = 0;
    const std::string said = recordAndListen(game, {2000, 2, 1718000200}, place);
    EXPECT_EQ(place, 1);
    EXPECT_EQ(lineCount(said), 1u) << said;
    EXPECT_NE(said.find(isRoot() ? "Read-only file system; play goes on" : "Permission denied; play goes on"),
              std::string::npos) << said;
    EXPECT_EQ(TestFiles::readFile(disk.scores), before);
    EXPECT_EQ(game.getEntries(),
              (std::vector<Entry>{{3000, 2, 1718000000}, {2000, 2, 1718000200}, {1200, 1, 1718000100}}));

    ASSERT_TRUE(disk.setReadOnly(false));
    EXPECT_EQ(recordAndListen(game, {100, 0, 1718000300}, place), "");
    EXPECT_EQ(TestFiles::readFile(disk.scores),
              "torvel-scores 1\n3000 2 1718000000\n2000 2 1718000200\n1200 1 1718000100\n100 0 1718000300\nend\n");
    EXPECT_FALSE(disk.temporaryLeft());
}

TEST(ScoreFaults, AFolderRemovedDuringPlayIsMadeAgainWithTheSessionsTable)
{
    DataDisk disk(false);
    ScoreTable game(disk.scores);
    playTwoRounds(game);
    fs::remove_all(disk.folder);

    int place = 0;
    EXPECT_EQ(recordAndListen(game, {2000, 2, 1718000200}, place), "");
    EXPECT_EQ(place, 1);
    EXPECT_EQ(TestFiles::readFile(disk.scores),
              "torvel-scores 1\n3000 2 1718000000\n2000 2 1718000200\n1200 1 1718000100\nend\n");
}
