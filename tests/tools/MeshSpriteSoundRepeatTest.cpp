// The mesh, sprite and sound steps of the baker write the same bytes every
// time, and the files the build baked are those bytes.

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace {

const char* const stepFiles[] = {"guns.obj", "guns.mtl", "SU35S.obj", "SU35S.mtl", "crosshair.png", "mflash.png",
    "smoke.png", "smoke1.png", "fireball.png", "gunburst.wav", "flyby.wav", "hit.wav"};

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path freshDirectory(const char* name)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / (std::string("torvel-") + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    return dir;
}

int bake(const std::filesystem::path& dir)
{
    const std::string command = std::string("\"") + BAKER_PATH + "\" \"" + dir.string()
        + "\" guns jet sprites sounds > /dev/null";
    return std::system(command.c_str());
}

} // namespace

TEST(MeshSpriteSoundBake, TwoBakesWriteIdenticalFiles)
{
    const std::filesystem::path first = freshDirectory("first");
    const std::filesystem::path second = freshDirectory("second");
    ASSERT_EQ(bake(first), 0);
    ASSERT_EQ(bake(second), 0);
    for (const char* name : stepFiles) {
        SCOPED_TRACE(name);
        const std::string a = contents(first / name);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == contents(second / name));
        EXPECT_TRUE(a == contents(std::filesystem::path(RES_DIR) / name));
    }
    std::filesystem::remove_all(first);
    std::filesystem::remove_all(second);
}

TEST(MeshSpriteSoundBake, EveryStepReportsAFileItCouldNotWrite)
{
    // A directory stands where each file should go, so no write can succeed:
    // each step must say FAILED and the baker must end in failure.
    const std::filesystem::path dir = freshDirectory("blocked");
    for (const char* name : stepFiles)
        std::filesystem::create_directories(dir / name);
    const std::string command = std::string("\"") + BAKER_PATH + "\" \"" + dir.string()
        + "\" guns jet sprites sounds 2>/dev/null";
    std::string output;
    int status = 0;
    ASSERT_TRUE(TestFiles::runCommand(command, output, status));
    EXPECT_NE(status, 0);
    for (const char* step : {"guns", "jet", "sprites", "sounds"}) {
        const size_t line = output.find(step);
        ASSERT_NE(line, std::string::npos) << output;
        EXPECT_NE(output.substr(line, output.find('\n', line) - line).find("FAILED"), std::string::npos) << output;
    }
    std::filesystem::remove_all(dir);
}
