#include "FontFileCheck.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <string>

TEST(FontFileCheck, TakesThePngFontAndNothingTheEnginesXmlReaderCouldRunOffTheEndOf)
{
    const std::string font = TestFiles::readFile("../res/fontlucida.png");
    EXPECT_TRUE(FontFileCheck::isSafe(font));
    EXPECT_TRUE(FontFileCheck::fileIsSafe("../res/fontlucida.png"));
    EXPECT_FALSE(FontFileCheck::fileIsSafe("../res/no such font.png"));
    // Found by fuzzing: a damaged signature, then "<font" with no '>' or
    // blank after it, which the engine's XML reader followed out of the file.
    EXPECT_FALSE(FontFileCheck::fileIsSafe(TORVEL_FOUND_INPUTS "/fontlucida.png"));
    // A file cut inside the header, a picture too narrow for the markers, and
    // text where the picture should be.
    EXPECT_FALSE(FontFileCheck::isSafe(font.substr(0, 20)));
    std::string narrow = font;
    narrow.replace(16, 4, std::string("\0\0\0\x02", 4));
    EXPECT_FALSE(FontFileCheck::isSafe(narrow));
    EXPECT_FALSE(FontFileCheck::isSafe("<font type=\"bitmap\"><Texture index=\"0\" filename=\"x.png\"/></font>"));
}
