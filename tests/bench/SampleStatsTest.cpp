#include "SampleStats.h"

#include <gtest/gtest.h>

namespace {

SampleStats from(std::initializer_list<double> values)
{
    SampleStats stats;
    for (double value : values)
        stats.add(value);
    return stats;
}

} // namespace

TEST(SampleStats, MedianIsTheMiddleOfTheSortedSamplesWhateverTheirOrder)
{
    EXPECT_DOUBLE_EQ(from({9.0, 1.0, 5.0}).median(), 5.0);
    EXPECT_DOUBLE_EQ(from({4.0, 1.0, 3.0, 2.0}).median(), 2.5);
    EXPECT_DOUBLE_EQ(from({7.0}).median(), 7.0);
    // A single slow frame moves the mean, not the median.
    const SampleStats spiky = from({10.0, 10.0, 10.0, 10.0, 100.0});
    EXPECT_DOUBLE_EQ(spiky.median(), 10.0);
    EXPECT_DOUBLE_EQ(spiky.mean(), 28.0);
}

TEST(SampleStats, NinetyFifthPercentileIsTheNearestRankSample)
{
    SampleStats hundred;
    for (int i = 100; i >= 1; --i)
        hundred.add(i);
    EXPECT_DOUBLE_EQ(hundred.p95(), 95.0);
    EXPECT_DOUBLE_EQ(hundred.percentile(1.0), 100.0);
    EXPECT_DOUBLE_EQ(hundred.percentile(0.5), 50.0);

    // Twenty samples: rank 19, not 20, though 0.95 * 20 is not exact in binary.
    SampleStats twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.add(i);
    EXPECT_DOUBLE_EQ(twenty.p95(), 19.0);

    // Fewer than twenty: the slowest sample.
    EXPECT_DOUBLE_EQ(from({3.0, 1.0, 2.0}).p95(), 3.0);
    EXPECT_DOUBLE_EQ(from({3.0, 1.0, 2.0}).percentile(0.01), 1.0);
}

TEST(SampleStats, NoSamplesGiveZeroesAndClearForgets)
{
    SampleStats stats;
    EXPECT_EQ(stats.count(), 0u);
    EXPECT_DOUBLE_EQ(stats.median(), 0.0);
    EXPECT_DOUBLE_EQ(stats.p95(), 0.0);
    EXPECT_DOUBLE_EQ(stats.mean(), 0.0);
    stats.add(4.0);
    stats.clear();
    stats.add(2.0);
    EXPECT_EQ(stats.count(), 1u);
    EXPECT_DOUBLE_EQ(stats.median(), 2.0);
}
