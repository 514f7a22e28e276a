#include "PngFileCheck.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(PngFileCheck, TakesTheBakedPicturesAndNothingAnotherOfTheEnginesReadersWouldTake)
{
    for (const char* path : {"../res/detailmap.png", "../res/heightmap.png", "../res/crosshair.png",
                             "../res/fontlucida.png", "../res/smoke.png"})
        EXPECT_TRUE(PngFileCheck::fileIsSafe(path)) << path;
    EXPECT_FALSE(PngFileCheck::fileIsSafe("../res/no such picture.png"));
    // Found by fuzzing: 33 bytes starting with 0x0A, which the engine's PCX
    // reader took for a picture of a negative size.
    EXPECT_FALSE(PngFileCheck::fileIsSafe(TORVEL_FOUND_INPUTS "/detailmap.png"));

    const std::string picture = TestFiles::readFile("../res/crosshair.png");
    EXPECT_FALSE(PngFileCheck::isSafe(picture.substr(0, PngFileCheck::headerSize - 1)));
    // Sides from 1 to the largest taken, each way.
    const auto withSides = [&picture](unsigned long width, unsigned long height) {
        std::string bytes = picture;
        for (int i = 0; i < 4; ++i) {
            bytes[16 + i] = static_cast<char>((width >> (24 - 8 * i)) & 0xFF);
            bytes[20 + i] = static_cast<char>((height >> (24 - 8 * i)) & 0xFF);
        }
        return bytes;
    };
    EXPECT_TRUE(PngFileCheck::isSafe(withSides(1, PngFileCheck::maxSide)));
    EXPECT_TRUE(PngFileCheck::isSafe(withSides(PngFileCheck::maxSide, 1)));
    EXPECT_FALSE(PngFileCheck::isSafe(withSides(0, 16)));
    EXPECT_FALSE(PngFileCheck::isSafe(withSides(16, 0)));
    EXPECT_FALSE(PngFileCheck::isSafe(withSides(PngFileCheck::maxSide + 1, 16)));
    EXPECT_FALSE(PngFileCheck::isSafe(withSides(16, 0x10000000)));
}

TEST(PngFileCheck, RejectsAChunkThatClaimsMoreThanTheFileHolds)
{
    // Found by fuzzing: a 4 x 4 picture of 108 bytes whose data chunk claims
    // 800 MB, for which the engine's PNG reader took 1.9 GB of memory.
    EXPECT_FALSE(PngFileCheck::fileIsSafe(TORVEL_FOUND_INPUTS "/crosshair.png"));
    // A picture cut before its end chunk.
    const std::string picture = TestFiles::readFile("../res/smoke.png");
    const std::string cut = testing::TempDir() + "cut.png";
    std::ofstream(cut, std::ios::binary) << picture.substr(0, picture.size() - 6);
    EXPECT_FALSE(PngFileCheck::fileIsSafe(cut));
    std::ofstream(cut, std::ios::binary) << picture;
    EXPECT_TRUE(PngFileCheck::fileIsSafe(cut));
}
