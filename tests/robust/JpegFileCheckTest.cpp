#include "JpegFileCheck.h"

#include <TestFiles.h>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>

#include <random>
#include <string>

namespace {

using TestFiles::readFile;

const char* const skyFaces[] = {"../res/skytop.jpg", "../res/skybottom.jpg", "../res/sky0.jpg",
                                "../res/sky1.jpg", "../res/sky2.jpg", "../res/sky3.jpg"};

} // namespace

TEST(JpegFileCheck, AcceptsTheBakedSkyFaces)
{
    for (const char* path : skyFaces) {
        EXPECT_GT(readFile(path).size(), 1000u) << path;
        EXPECT_TRUE(JpegFileCheck::fileIsWhole(path)) << path;
    }
    EXPECT_FALSE(JpegFileCheck::fileIsWhole("../res/no such face.jpg"));
}

// The faces are decoded once, by the check, and handed to the engine as
// texels: they must be the texels the engine's own reader and conversion
// give, byte for byte. A face cut short gives none.
TEST(JpegFileCheck, DecodesTheFacesToTheEnginesOwnTexels)
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    for (const char* path : skyFaces) {
        std::vector<unsigned char> texels;
        unsigned width = 0;
        unsigned height = 0;
        ASSERT_TRUE(JpegFileCheck::decodeWhole(readFile(path), texels, width, height)) << path;
        irr::video::IImage* read = driver->createImageFromFile(path);
        ASSERT_NE(read, nullptr) << path;
        const irr::core::dimension2du size = read->getDimension();
        irr::video::IImage* engine = driver->createImage(irr::video::ECF_A8R8G8B8, size);
        read->copyTo(engine);
        read->drop();
        EXPECT_EQ(width, size.Width) << path;
        EXPECT_EQ(height, size.Height) << path;
        ASSERT_EQ(texels.size(), std::size_t(size.Width) * size.Height * 4) << path;
        EXPECT_EQ(std::memcmp(texels.data(), engine->lock(), texels.size()), 0) << path;
        engine->unlock();
        engine->drop();
    }
    device->drop();

    const std::string whole = readFile("../res/sky0.jpg");
    std::vector<unsigned char> texels;
    unsigned width = 0;
    unsigned height = 0;
    EXPECT_FALSE(JpegFileCheck::decodeWhole(whole.substr(0, whole.size() / 2), texels, width, height));
    EXPECT_FALSE(JpegFileCheck::decodeWhole(whole.substr(0, whole.size() - 1), texels, width, height));
}

TEST(JpegFileCheck, RejectsAFaceCutShortAnywhere)
{
    const std::string whole = readFile("../res/sky0.jpg");
    ASSERT_TRUE(JpegFileCheck::isWhole(whole));
    // Cuts in the headers, in the scan data and just before the end marker.
    for (std::size_t length : {std::size_t(0), std::size_t(1), std::size_t(3), std::size_t(20), std::size_t(300),
                               whole.size() / 2, whole.size() - 2, whole.size() - 1})
        EXPECT_FALSE(JpegFileCheck::isWhole(whole.substr(0, length))) << "cut to " << length;
    // Bytes after the end marker do not matter.
    EXPECT_TRUE(JpegFileCheck::isWhole(whole + "trailing"));
}

TEST(JpegFileCheck, RejectsRandomBytesAndSegmentsLongerThanTheFile)
{
    const std::string whole = readFile("../res/sky1.jpg");
    for (unsigned start = 1; start <= 20; ++start) {
        std::mt19937 random(start);
        std::string bytes(whole.size(), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        EXPECT_FALSE(JpegFileCheck::isWhole(bytes)) << "start value " << start;
        // Random data behind a real start marker is no better.
        bytes[0] = char(0xFF);
        bytes[1] = char(0xD8);
        EXPECT_FALSE(JpegFileCheck::isWhole(bytes)) << "start value " << start;
    }
    // The first segment after the start marker claims 64 KiB.
    std::string overlong = whole;
    ASSERT_EQ(static_cast<unsigned char>(overlong[2]), 0xFF);
    overlong[4] = char(0xFF);
    overlong[5] = char(0xFF);
    EXPECT_FALSE(JpegFileCheck::isWhole(overlong));
    // A segment that claims less than its own length field.
    std::string tooShort = whole;
    tooShort[4] = 0;
    tooShort[5] = 1;
    EXPECT_FALSE(JpegFileCheck::isWhole(tooShort));
}

TEST(JpegFileCheck, RejectsWhatTheDecoderStopsOnMidPicture)
{
    // Found by fuzzing: a sky face whose scan comes twice, where its frame
    // holds a single scan. Structurally whole, but the decoder stops on the
    // second scan, after the engine's reader has allocated the picture.
    const std::string twoScans = readFile(TORVEL_FOUND_INPUTS "/sky0.jpg");
    ASSERT_GT(twoScans.size(), 100u);
    EXPECT_FALSE(JpegFileCheck::isWhole(twoScans));
    // The same face with its scan once is whole.
    const std::size_t scan = twoScans.find("\xFF\xDA");
    const std::size_t second = twoScans.find("\xFF\xDA", scan + 2);
    ASSERT_NE(second, std::string::npos);
    EXPECT_TRUE(JpegFileCheck::isWhole(twoScans.substr(0, second) + "\xFF\xD9"));
}

TEST(JpegFileCheck, RejectsAPictureTooWideForTheEnginesRows)
{
    // Found by fuzzing: a face that claims 49928 x 8 pixels and decodes
    // without an error. The engine's reader held its row length in 16 bits
    // and wrote the rows past the memory it had for them.
    const std::string wide = readFile(TORVEL_FOUND_INPUTS "/sky1.jpg");
    ASSERT_GT(wide.size(), 100u);
    EXPECT_FALSE(JpegFileCheck::isWhole(wide));
    // The same frame header at the largest width taken.
    const std::size_t frame = wide.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    std::string widest = wide;
    widest[frame + 7] = static_cast<char>(JpegFileCheck::maxSide >> 8);
    widest[frame + 8] = static_cast<char>(JpegFileCheck::maxSide & 0xFF);
    EXPECT_TRUE(JpegFileCheck::isWhole(widest));
    widest[frame + 8] = static_cast<char>((JpegFileCheck::maxSide + 1) & 0xFF);
    EXPECT_FALSE(JpegFileCheck::isWhole(widest));
}
