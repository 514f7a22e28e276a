// The settings survive a writer killed at any moment, as the best rounds do:
// after every kill the file reads whole, with no message, and holds the
// change before the one being written or that one.

#include "Settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(SettingsKill, SixtyKillsLeaveTheOldSettingsOrTheNew)
{
    std::string pattern = (fs::temp_directory_path() / "torvel-settings-kill-XXXXXX").string();
    const std::string configHome = ::mkdtemp(pattern.data());
    const fs::path folder = fs::path(configHome) / "torvel";
    std::mt19937 random(2111);
    std::uniform_int_distribution<int> delay(0, 40000);
    unsigned long done = 0;
    for (int kill = 0; kill < 60; ++kill) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t writer = ::fork();
        if (writer == 0) {
            ::close(fds[0]);
            ::dup2(fds[1], 1);
            ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
            const std::string first = std::to_string(done + 1);
            ::execl(SETTINGS_WRITER, SETTINGS_WRITER, first.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself, status " << status;
        std::string reports;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
            reports.append(buffer, static_cast<std::size_t>(n));
        ::close(fds[0]);
        const std::size_t lastEnd = reports.rfind('\n');
        if (lastEnd != std::string::npos) {
            const std::size_t lastStart = reports.rfind('\n', lastEnd - 1);
            done = std::stoul(reports.substr(lastStart == std::string::npos ? 0 : lastStart + 1));
        }

        Settings settings((folder / "settings").string());
        testing::internal::CaptureStderr();
        settings.load();
        ASSERT_EQ(testing::internal::GetCapturedStderr(), "") << "after kill " << kill;
        if (done == 0 && !fs::exists(folder / "settings"))
            continue;
        const int volume = settings.get().effectsVolume;
        if (volume == static_cast<int>((done + 1) % 101)) {
            // Killed after the rename, before the report.
            ++done;
        } else {
            ASSERT_EQ(volume, static_cast<int>(done % 101)) << "after kill " << kill << ", change " << done;
        }
        ASSERT_EQ(settings.get().invertVertical, done % 2 == 1);
    }
    std::printf("%lu changes written in 60 kills\n", done);
    EXPECT_GT(done, 30u);
    for (const auto& item : fs::directory_iterator(folder))
        EXPECT_NE(item.path().filename().string().rfind("settings.tmp.", 0), 0u) << item.path();
    fs::remove_all(configHome);
}
