// The HTML log: valid after every event, safe with any text, harmless when
// it cannot be written.
#include "SoundLog.h"
#include "TestSounds.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <fstream>

using torvel::SoundLog;

using TestFiles::readFile;

TEST(SoundLog, PageIsCompleteAfterEveryEventAndEscapesMarkup) {
    TestSounds files;
    SoundLog log(files.path("log.html"));
    log.write("Sound service started");
    std::string page = readFile(files.path("log.html"));
    EXPECT_NE(page.find("</b> Sound service started</li>\n</ul>\n</body>\n</html>\n"), std::string::npos);

    log.write("Could not load ../res/<odd> & \"name\"\n.wav");
    page = readFile(files.path("log.html"));
    EXPECT_NE(page.find("../res/&lt;odd&gt; &amp; &quot;name&quot;?.wav</li>"), std::string::npos);
    EXPECT_EQ(page.find("<odd>"), std::string::npos);
    EXPECT_LT(page.find("Sound service started"), page.find("Could not load"));
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
    EXPECT_FALSE(std::ifstream(files.path("log.html.tmp")).good()) << "temporary file left behind";
}

TEST(SoundLog, StaysBoundedHoweverManyEvents) {
    TestSounds files;
    SoundLog log(files.path("log.html"));
    for (std::size_t i = 0; i < SoundLog::maxLines + 25; ++i)
        log.write("event " + std::to_string(i));
    EXPECT_EQ(log.getLines().size(), SoundLog::maxLines);
    const std::string page = readFile(files.path("log.html"));
    EXPECT_NE(page.find("<li>25 later events not kept</li>\n</ul>"), std::string::npos);
}

TEST(SoundLog, UnwritablePlaceIsReportedOnceOnStandardErrorOnly) {
    TestSounds files;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SoundLog log(files.path("no/such/folder/log.html"));
    log.write("one");
    log.write("two");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "Sound log " + files.path("no/such/folder/log.html") +
                          " cannot be written; the game goes on without it\n");
    EXPECT_EQ(log.getLines().size(), 2u);
}
