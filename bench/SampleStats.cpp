#include "SampleStats.h"

#include <algorithm>
#include <cmath>
#include <numeric>

double SampleStats::median() const
{
    if (samples.empty())
        return 0.0;
    const std::vector<double> values = sorted();
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

double SampleStats::percentile(double share) const
{
    if (samples.empty())
        return 0.0;
    const std::vector<double> values = sorted();
    // The rank is computed with a small tolerance so that 0.95 * 20 is rank
    // 19 and not 20 through the binary fraction's rounding.
    const double rank = std::ceil(share * static_cast<double>(values.size()) - 1e-9);
    const std::size_t index = static_cast<std::size_t>(std::clamp(rank, 1.0, static_cast<double>(values.size())));
    return values[index - 1];
}

double SampleStats::mean() const
{
    if (samples.empty())
        return 0.0;
    return std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size());
}

std::vector<double> SampleStats::sorted() const
{
    std::vector<double> values = samples;
    std::sort(values.begin(), values.end());
    return values;
}
