// The best rounds survive a writer killed at any moment: a harness starts a
// writer that ends round after round through the real table code, kills it
// with SIGKILL at a random moment, and reads the file. Every time it must
// read whole, with no message, and hold the table before the round being
// written or the table after it.

#include "ScoreTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Entry = ScoreTable::Entry;

namespace {

// The table after the writer's rounds 1 to last.
std::vector<Entry> tableAfter(unsigned long last)
{
    std::vector<Entry> table;
    for (unsigned long n = last; n >= 1 && table.size() < ScoreTable::capacity; --n)
        table.push_back({static_cast<irr::u32>(n), static_cast<irr::u32>(n % 6), 1700000000ull + n});
    return table;
}

// Starts the writer at round first; its reports come through the pipe.
pid_t startWriter(const std::string& dataHome, unsigned long first, int& reports)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::dup2(fds[1], 1);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        const std::string firstRound = std::to_string(first);
        ::execl(SCORE_WRITER, SCORE_WRITER, firstRound.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    reports = fds[0];
    return pid;
}

// The last round number the writer reported before it died.
unsigned long lastReported(int reports, unsigned long before)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(reports, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    ::close(reports);
    unsigned long last = before;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        last = std::stoul(text.substr(start, end - start));
    return last;
}

bool temporaryLeft(const fs::path& folder)
{
    if (!fs::exists(folder))
        return false;
    for (const auto& item : fs::directory_iterator(folder))
        if (item.path().filename().string().rfind("scores.tmp.", 0) == 0)
            return true;
    return false;
}

} // namespace

TEST(ScoreKill, TwoHundredKillsLeaveTheOldTableOrTheNew)
{
    std::string pattern = (fs::temp_directory_path() / "torvel-kill-XXXXXX").string();
    const std::string dataHome = ::mkdtemp(pattern.data());
    const fs::path folder = fs::path(dataHome) / "torvel";
    const std::string path = (folder / "scores").string();

    std::mt19937 random(1208);
    // Up to several whole writes: each takes a few milliseconds with its two
    // flushes to disk, and the writer needs one or two to start.
    std::uniform_int_distribution<int> delay(0, 50000);
    unsigned long done = 0;
    int midWrite = 0;
    int newBeforeReport = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (int kill = 0; kill < 200; ++kill) {
        int reports = -1;
        const pid_t writer = startWriter(dataHome, done + 1, reports);
        ASSERT_GT(writer, 0);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself, status " << status;
        done = lastReported(reports, done);
        midWrite += temporaryLeft(folder);

        ScoreTable table(path);
        testing::internal::CaptureStderr();
        table.load();
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_EQ(said, "") << "after kill " << kill;
        if (table.getEntries() == tableAfter(done + 1)) {
            // Killed after the rename, before the report: the round is in.
            ++done;
            ++newBeforeReport;
        } else {
            ASSERT_EQ(table.getEntries(), tableAfter(done)) << "after kill " << kill << ", round " << done;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%lu rounds written in 200 kills, %.1f s; %d kills left a half-written temporary file, "
                "%d came after the rename and before the report\n",
                done, seconds, midWrite, newBeforeReport);
    // The writer must really have been writing when it was killed.
    EXPECT_GT(done, 100u);
    EXPECT_FALSE(temporaryLeft(folder));
    fs::remove_all(dataHome);
}
