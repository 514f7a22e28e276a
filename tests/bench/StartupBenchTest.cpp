#include "StartupBench.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <climits>
#include <sstream>
#include <string>

namespace {

std::string workingDirectory()
{
    char path[PATH_MAX] = {};
    return getcwd(path, sizeof path) ? path : ".";
}

} // namespace

// The probe must see the game's own swap; if it did not, every start would
// wait for a first frame that is never reported.
TEST(StartupBench, TimesTheRealGameToItsFirstFrame)
{
    StartupBench bench(workingDirectory(), 1);
    ASSERT_TRUE(bench.run());
    ASSERT_EQ(bench.getFirstFrame().count(), 1u);
    EXPECT_GT(bench.getLoaded().median(), 0.0);
    EXPECT_GT(bench.getFirstFrame().median(), bench.getLoaded().median());
    EXPECT_LT(bench.getFirstFrame().median(), 60000.0);

    // The phases cover the start from the fork to the swap, and the probe saw
    // the window, the context, the terrain's height map and the first frame.
    double sum = 0.0;
    std::string names;
    for (const auto& phase : bench.getPhases()) {
        sum += phase.second.median();
        names += phase.first + "; ";
    }
    EXPECT_NEAR(sum, bench.getFirstFrame().median(), 1.0) << names;
    for (const char* seen : {"libraries", "OpenGL context", "heightmap.png", "skytop.jpg", "first frame"})
        EXPECT_NE(names.find(seen), std::string::npos) << seen << " missing from " << names;
}

// Against another build (here the same one), the two games take turns and
// each gets its own figures.
TEST(StartupBench, TimesAnotherBuildInTurnAndGivesTheRatio)
{
    StartupBench bench(workingDirectory(), 1, workingDirectory());
    ASSERT_TRUE(bench.run());
    ASSERT_EQ(bench.getFirstFrame().count(), 1u);
    ASSERT_EQ(bench.getAgainstFirstFrame().count(), 1u);
    EXPECT_DOUBLE_EQ(bench.getRatio(), bench.getFirstFrame().median() / bench.getAgainstFirstFrame().median());
    std::ostringstream report;
    bench.report(report);
    EXPECT_NE(report.str().find("this build / the other"), std::string::npos) << report.str();
}

TEST(StartupBench, MissingGameFailsAtOnce)
{
    StartupBench bench("/nonexistent-torvel-dir", 1);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(bench.run());
    EXPECT_EQ(bench.getFirstFrame().count(), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
}
