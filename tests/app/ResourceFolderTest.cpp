#include "ResourceFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(ResourceFolder, NamesTheFolderBesideTheWorkingDirectory)
{
    EXPECT_EQ(ResourceFolder::lookedIn("/home/me/bin"), "/home/me/res/");
    EXPECT_EQ(ResourceFolder::lookedIn("/home/me/bin/"), "/home/me/res/");
    EXPECT_EQ(ResourceFolder::lookedIn("/home/me"), "/home/res/");
    EXPECT_EQ(ResourceFolder::lookedIn("/"), "/res/");
}

TEST(ResourceFolder, MessageIsOneLineWithTheFolderAndTheWayOut)
{
    const std::string line = ResourceFolder::missingMessage("/home/res/");
    EXPECT_NE(line.find("/home/res/"), std::string::npos) << line;
    EXPECT_NE(line.find("torvel launcher"), std::string::npos) << line;
    EXPECT_NE(line.find("bin/ folder"), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(ResourceFolder, FoundFromTheBuildsBinFolderOnlyAndNamedFromAnywhereElse)
{
    // The tests start in the build's bin/, beside the baked res/.
    const fs::path home = fs::current_path();
    EXPECT_TRUE(ResourceFolder::isPresent());

    const fs::path scratch = fs::temp_directory_path() / ("torvel-resfolder-" + std::to_string(::getpid()));
    fs::create_directories(scratch / "play");
    const std::string expected = " " + fs::canonical(scratch).string() + "/res/ ";
    fs::current_path(scratch / "play");
    const bool presentElsewhere = ResourceFolder::isPresent();
    const std::string line = ResourceFolder::missingMessage();
    // A res that is a file, not a folder, does not count either.
    std::fclose(std::fopen("../res", "w"));
    const bool fileCounts = ResourceFolder::isPresent();
    fs::current_path(home);
    fs::remove_all(scratch);

    EXPECT_FALSE(presentElsewhere);
    EXPECT_FALSE(fileCounts);
    EXPECT_NE(line.find(expected), std::string::npos) << line;
}
